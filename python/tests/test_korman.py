import os
import pathlib
import subprocess
import sys
import threading

import pytest

import korman
from conftest import EXAMPLES, SAMPLES

INVALID_PARAMETER = 0x83070012
FILE_NOT_FOUND = 0x83070013
INVALID_KOR_FILE = 0x83070024
INVALID_NOTE_NUMBER = 0x83070503
EDIT_TARGET_NOT_FOUND = 0x83073101


def notes_of(song):
    return [n for track in song.tracks for part in track.parts for n in part.notes]


def test_a_new_song_is_edited_in_labelled_commits_and_its_views_follow_undo_and_redo():
    song = korman.Song.new("Früh", premeasure=2)
    assert (song.name, song.premeasure, song.path, song.modified) == ("Früh", 2, None, False)
    assert song.tempos == [(0, 120.0)] and song.time_signatures == [(0, 4, 4)]
    part = song.tracks[0].parts[0]
    assert part.tick == 3840 and part.notes == []
    with song.edit("Two notes") as e:
        e.set_time_signature(measure=2, numerator=3, denominator=4)
        e.set_tempo(tick=0, bpm=96.5)
        first = e.insert_note(part, tick=3840, length=480, key=60, lyric="さく", phonemes=["s", "a"])
        second = e.insert_note(part, tick=4320, length=240, key=62)
    assert song.tempos == [(0, 96.5)] and song.time_signatures == [(0, 4, 4), (2, 3, 4)]
    assert part.notes == [first, second] and song.modified and song.undo_text == "Two notes"
    assert (first.tick, first.lyric, first.phonemes, second.lyric, second.phonemes) == (3840, "さく", ["s", "a"], "a", ["a"])
    assert first.seconds == pytest.approx(3840 / 480 * 60 / 96.5) and first.duration == pytest.approx(60 / 96.5)
    assert song.seconds_to_tick(song.tick_to_seconds(4321)) == 4321

    # Two updates of one note in one edit both count; the note moves within its part.
    with song.edit("Rework") as e:
        e.update(first, tick=4800, key=first.key + 2)
        e.update(first, lyric="ら", velocity=90)
        e.delete(second)
    assert (first.tick, first.key, first.lyric, first.velocity, first.length) == (4800, 62, "ら", 90, 480)
    with pytest.raises(korman.Error) as gone:
        second.key
    assert gone.value.code == EDIT_TARGET_NOT_FOUND and str(second.id) in gone.value.message

    assert song.undo() and (first.tick, first.key, first.lyric) == (3840, 60, "さく") and second.key == 62
    assert (song.undo_text, song.redo_text, song.can_redo) == ("Two notes", "Rework", True)
    assert song.undo() and not song.undo() and not song.can_undo and not song.modified
    assert song.redo() and song.redo() and not song.redo() and first.key == 62


def test_views_outlive_their_name_and_edits_keep_to_one_at_a_time():
    part = korman.Song.new("Gone from Python").tracks[0].parts[0]  # the view keeps its song
    song = None
    assert part.tick == 1920
    song = korman.Song.load(SAMPLES / "morning-walk.korx")
    notes = song.tracks[0].parts[0].notes
    again = song.tracks[0].parts[0].notes
    assert notes == again and {*notes} == {*again} and notes[0] != notes[1] and "tick=" in repr(notes[0])
    outer = song.edit("Outer")
    with outer as e:
        with pytest.raises(korman.Error) as conflict:
            with song.edit("Inner"):
                pass
        assert conflict.value.code == 0x83073103 and "1" in conflict.value.message
        e.delete(song.tracks[0].parts[0])
    with pytest.raises(korman.Error):
        with outer:  # an edit is entered once
            pass
    assert song.tracks[0].parts == [] and "(deleted)" in repr(notes[0])
    with pytest.raises(korman.Error) as gone:
        notes[0].lyric
    assert gone.value.code == EDIT_TARGET_NOT_FOUND
    with pytest.raises(korman.Error) as negative:
        song.tick_to_seconds(-1)
    assert negative.value.code == INVALID_PARAMETER
    assert song.undo() and notes[0].lyric and len(song.tracks[0].parts[0].notes) == len(notes)


def test_a_failing_edit_raises_the_library_error_and_leaves_the_song_as_it_was():
    song = korman.Song.new("Song")
    part = song.tracks[0].parts[0]
    with song.edit("One") as e:
        note = e.insert_note(part, tick=1920, length=480, key=60)
    with pytest.raises(korman.Error) as failed:
        with song.edit("Too high") as e:
            e.update(note, lyric="x")
            e.update(note, key=200)
    assert failed.value.code == INVALID_NOTE_NUMBER and "200" in failed.value.message
    with pytest.raises(ZeroDivisionError):
        with song.edit("Broken") as e:
            e.update(note, key=61)
            1 / 0
    assert (note.key, note.lyric, song.undo_text) == (60, "a", "One")
    with pytest.raises(korman.Error):  # an edit records only inside its block
        e.update(note, key=62)
    with pytest.raises(korman.Error) as tempo:
        with song.edit() as e:
            e.set_tempo(tick=0, bpm=float("nan"))
    assert tempo.value.code == 0x83070301
    with pytest.raises(korman.Error) as premeasure:
        korman.Song.new("Song", premeasure=9)
    assert premeasure.value.code == 0x83070031


def test_every_kind_of_file_is_told_surveyed_and_loaded(tmp_path, chorale):
    (tmp_path / "notes.txt").write_text("not a song")
    kinds = {p: korman.file_format(SAMPLES / p) for p in ["morning-walk.korx", "morning-walk.kor", "morning-walk.mid"]}
    assert kinds == {"morning-walk.korx": "KOR3", "morning-walk.kor": "legacy", "morning-walk.mid": "MIDI"}
    assert korman.file_format(chorale) == "MusicXML" and korman.file_format(tmp_path / "notes.txt") is None

    parts = korman.sources(chorale)
    assert [p["name"] for p in parts] == ["Soprano", "Alto", "Tenor", "Bass"]
    assert all(p["imported"] for p in parts) and (parts[0]["lyrics"], parts[0]["verses"]) == (45, [2])
    midi = korman.sources(SAMPLES / "morning-walk.mid")
    assert midi and all(t["lyrics"] is None for t in midi) and korman.sources(SAMPLES / "morning-walk.korx") == []

    whole = korman.Song.load(chorale)
    assert len(whole.tracks) == 4 and whole.path == str(chorale)
    first = notes_of(korman.Song.load(chorale, sources=[0]))
    second = korman.Song.load(chorale, sources=[0], verse=2, premeasure=2)
    assert len(second.tracks) == 1 and second.premeasure == 2 and len(first) == parts[0]["notes"]
    assert [n.key for n in notes_of(second)] == [n.key for n in first]
    assert notes_of(korman.Song.load(SAMPLES / "morning-walk.kor", codepage=65001))

    for path, options, code in [
        (tmp_path / "missing.korx", {}, FILE_NOT_FOUND),
        (tmp_path / "notes.txt", {}, INVALID_KOR_FILE),
        (chorale, {"sources": [4]}, INVALID_PARAMETER),
        (chorale, {"verse": 0}, INVALID_PARAMETER),
        (SAMPLES / "morning-walk.mid", {"verse": 2}, INVALID_PARAMETER),
        (SAMPLES / "morning-walk.korx", {"sources": [0]}, INVALID_PARAMETER),
        ("bad\0name.korx", {}, 0x83070017),
    ]:
        with pytest.raises(korman.Error) as failed:
            korman.Song.load(path, **options)
        assert failed.value.code == code and failed.value.message, path
    with pytest.raises(korman.Error) as survey:
        korman.sources(tmp_path / "notes.txt")
    assert survey.value.code == INVALID_KOR_FILE and "notes.txt" in survey.value.message


def test_a_song_saved_and_sent_out_as_midi_comes_back(tmp_path):
    song = korman.Song.load(SAMPLES / "morning-walk.korx")
    before = [(n.tick, n.length, n.key, n.lyric) for n in notes_of(song)]
    with song.edit("Louder") as e:
        e.update(notes_of(song)[0], velocity=120)
    song.save(tmp_path / "walk.korx")
    assert song.path == str(tmp_path / "walk.korx") and not song.modified
    again = korman.Song.load(tmp_path / "walk.korx")
    assert [(n.tick, n.length, n.key, n.lyric) for n in notes_of(again)] == before
    assert notes_of(again)[0].velocity == 120
    again.export_midi(tmp_path / "walk.mid")
    back = korman.Song.load(tmp_path / "walk.mid", premeasure=again.premeasure, codepage=65001)
    assert [(n.tick, n.key, n.lyric) for n in notes_of(back)] == [(t, k, l) for t, _, k, l in before]
    with pytest.raises(korman.Error):
        song.save(tmp_path / "no-folder" / "walk.korx")


def test_songs_in_threads_are_loaded_edited_and_saved_side_by_side(tmp_path):
    failures = []

    def work(index):
        try:
            for round in range(3):
                song = korman.Song.load(SAMPLES / "morning-walk.korx")
                with song.edit("Up") as e:
                    for n in notes_of(song):
                        e.update(n, key=n.key + 1)
                song.save(tmp_path / f"{index}-{round}.korx")
                assert korman.Song.load(tmp_path / f"{index}-{round}.korx").tracks[0].parts[0].notes[0].key == 68
        except Exception as error:  # reported by the main thread
            failures.append(error)

    threads = [threading.Thread(target=work, args=(i,)) for i in range(3)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert failures == []


def run(*args, cwd=None, **env):
    result = subprocess.run([sys.executable, *map(str, args)], capture_output=True, text=True, cwd=cwd,
                            env={**os.environ, **env})
    assert result.returncode == 0, result.stderr
    return result.stdout


def test_the_examples_run_and_stay_short(tmp_path, any_chorale):
    for example in EXAMPLES.glob("*.py"):
        code = [l for l in example.read_text().splitlines() if l.strip() and not l.strip().startswith("#")]
        assert len(code) <= 15, f"{example.name} holds {len(code)} lines of code"
    assert run(EXAMPLES / "new_song.py", tmp_path).splitlines() == [
        'undone "Write the scale": 0 notes', "from MIDI: do re mi fa so la ti do"]
    out = run(EXAMPLES / "chorale.py", any_chorale, tmp_path / "chorale.korx").splitlines()
    assert out[0].startswith('after "Change a lyric": Dawn') and out[1].startswith('undone; next undo "Transpose"')
    assert korman.Song.load(tmp_path / "chorale.korx").undo_text == ""
    walk = run(EXAMPLES / "walk.py", SAMPLES / "morning-walk.korx").splitlines()
    assert len(walk) == len(notes_of(korman.Song.load(SAMPLES / "morning-walk.korx")))
    assert walk[0].split() == ["track", "0", "2.400", "s", "0.600", "s", "key", "67", "a"]


def test_the_module_works_from_an_installed_prefix(tmp_path):
    build = os.environ.get("KORMAN_BUILD")
    if build is None:
        pytest.skip("KORMAN_BUILD names no build tree to install")
    # cmake itself runs without the sanitizer runtimes the suite may be preloaded with.
    env = {k: v for k, v in os.environ.items() if k != "LD_PRELOAD"}
    subprocess.run([os.environ.get("CMAKE_COMMAND", "cmake"), "--install", build, "--prefix", tmp_path],
                   check=True, capture_output=True, env=env)
    installed = tmp_path / "lib" / "python3" / "dist-packages"
    out = run("-c", "import korman; print(korman.__file__, korman.Song.new('Installed').name)",
              cwd=tmp_path, PYTHONPATH=str(installed))  # away from the build tree's module
    assert out.split() == [str(next(installed.glob("korman*.so"))), "Installed"]
