# Every sung note of a song with its start and length in seconds.
import sys
import korman

song = korman.Song.load(sys.argv[1])
for track in song.tracks:
    for part in track.parts:
        for n in part.notes:
            print(f"track {track.index}  {n.seconds:7.3f} s  {n.duration:5.3f} s  key {n.key:3}  {n.lyric}")
