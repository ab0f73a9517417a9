"""Prints the time of every channel message as mido plays a MIDI file.

    FILE <path>
    ERROR <message>        mido rejects the file
    T <tick> <ms>          a channel message: absolute tick, time in ms (float)
"""
import sys

import mido


def dump(path):
    print("FILE", path)
    try:
        mid = mido.MidiFile(path)
        merged = mido.merge_tracks(mid.tracks)
        tick = 0
        seconds = 0.0
        # Iterating the file yields the merged messages with delta times in
        # seconds under the tempo in force; the merged track gives the ticks.
        for timed, raw in zip(mid, merged):
            tick += raw.time
            seconds += timed.time
            if not raw.is_meta and raw.type != "sysex":
                print("T", tick, "%.6f" % (seconds * 1000.0))
    except Exception as e:  # every rejection counts
        print("ERROR", type(e).__name__, str(e).replace("\n", " "))


for p in sys.argv[1:]:
    dump(p)
