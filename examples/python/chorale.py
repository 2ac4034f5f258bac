# A chorale read from a score, transposed up a whole tone in one labelled edit, one lyric changed
# in a second edit that is then undone, and the result saved.
import sys
import korman

song = korman.Song.load(sys.argv[1])
notes = [n for track in song.tracks for part in track.parts for n in part.notes]
with song.edit("Transpose") as e:
    for n in notes:
        e.update(n, key=n.key + 2)
with song.edit("Change a lyric") as e:
    e.update(notes[0], lyric="Dawn")
print(f'after "{song.undo_text}": {notes[0].lyric} at key {notes[0].key}')
song.undo()
print(f'undone; next undo "{song.undo_text}": {notes[0].lyric} at key {notes[0].key}')
song.save(sys.argv[2])
