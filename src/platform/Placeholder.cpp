// The platform layer: MIDI ports, settings store, converters.
