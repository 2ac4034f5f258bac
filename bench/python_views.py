"""Times the Python module on a release build, by hand:

    PYTHONPATH=build/release/python python3 bench/python_views.py

reading tick, length, key and lyric of every note of a 100k-note song, and one labelled edit
transposing 10k notes (views read, updates recorded, commit), each the best and the median of
five runs in wall-clock time.
"""
import statistics
import tempfile
import time

import korman


def song_of(notes, folder):
    """A song of `notes` notes in one part, saved and loaded back as a host would have it."""
    song = korman.Song.new(f"{notes} notes")
    part = song.tracks[0].parts[0]
    with song.edit("Fill") as e:
        for i in range(notes):
            e.insert_note(part, tick=1920 + i * 240, length=240, key=48 + i % 36, lyric="la")
    song.save(f"{folder}/song-{notes}.korx")
    return korman.Song.load(f"{folder}/song-{notes}.korx")


def timed(what, runs=5):
    seconds = []
    for _ in range(runs):
        start = time.perf_counter()
        what()
        seconds.append(time.perf_counter() - start)
    return min(seconds), statistics.median(seconds)


def read_all(song):
    for track in song.tracks:
        for part in track.parts:
            for n in part.notes:
                n.tick, n.length, n.key, n.lyric


def transpose(song):
    with song.edit("Transpose") as e:
        for n in song.tracks[0].parts[0].notes:
            e.update(n, key=n.key + 1)


with tempfile.TemporaryDirectory() as folder:
    big = song_of(100_000, folder)
    print("read tick, length, key, lyric of 100k notes: best %.3f s, median %.3f s" % timed(lambda: read_all(big)))
    ten = song_of(10_000, folder)
    print("transpose 10k notes in one labelled edit: best %.1f ms, median %.1f ms"
          % tuple(1000 * s for s in timed(lambda: transpose(ten))))
