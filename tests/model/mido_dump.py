"""Prints what mido reads from MIDI files, one line per fact, for the reader tests.

    FILE <path>
    ERROR <message>                      mido rejects the file
    HEADER <format> <tracks> <division>
    TRACK <index>
    C <tick> <hex bytes>                 channel message
    M <tick> <type> <hex data>           meta event (end of track included)
"""
import sys

import mido
from mido.midifiles.meta import _META_SPEC_BY_TYPE


def meta_type(msg):
    if hasattr(msg, "type_byte"):
        return msg.type_byte
    return _META_SPEC_BY_TYPE[msg.type].type_byte


def hexs(data):
    return "".join("%02x" % b for b in data)


def dump(path):
    print("FILE", path)
    try:
        mid = mido.MidiFile(path)
    except Exception as e:  # every rejection counts
        print("ERROR", type(e).__name__, str(e).replace("\n", " "))
        return
    print("HEADER", mid.type, len(mid.tracks), mid.ticks_per_beat)
    for i, track in enumerate(mid.tracks):
        print("TRACK", i)
        tick = 0
        for msg in track:
            tick += msg.time
            if msg.is_meta:
                raw = msg.bytes() if hasattr(msg, "bytes") else None
                # bytes() of a meta message: ff type vlq-length data
                data = raw[2:] if raw else []
                # skip the variable-length length
                k = 0
                while k < len(data) and data[k] & 0x80:
                    k += 1
                data = data[k + 1:]
                print("M", tick, meta_type(msg), hexs(data))
            elif msg.type == "sysex":
                print("S", tick, hexs(msg.data))
            else:
                print("C", tick, hexs(msg.bytes()))


for p in sys.argv[1:]:
    dump(p)
