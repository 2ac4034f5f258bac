# A new song with eight sung notes, its tempo and time signature, written in one commit that is
# undone and redone, saved, loaded back, written as a MIDI file and read back from it.
import sys
import korman

folder = sys.argv[1] if len(sys.argv) > 1 else "."
song = korman.Song.new("Scale")
with song.edit("Write the scale") as e:
    e.set_time_signature(measure=1, numerator=3, denominator=4)
    e.set_tempo(tick=1920, bpm=96.0)
    for i, (key, lyric) in enumerate(zip([60, 62, 64, 65, 67, 69, 71, 72], "do re mi fa so la ti do".split())):
        e.insert_note(song.tracks[0].parts[0], tick=1920 + i * 480, length=480, key=key, lyric=lyric, phonemes=[lyric])
song.undo()
print(f'undone "{song.redo_text}": {len(song.tracks[0].parts[0].notes)} notes')
song.redo()
song.save(f"{folder}/scale.korx")
korman.Song.load(f"{folder}/scale.korx").export_midi(f"{folder}/scale.mid")
print("from MIDI:", " ".join(n.lyric for n in korman.Song.load(f"{folder}/scale.mid").tracks[0].parts[0].notes))
