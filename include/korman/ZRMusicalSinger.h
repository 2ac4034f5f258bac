// The singer a host gives to a new sequence's first musical part.
#pragma once

/// A singer change: from `posTick` on, the part sings the VVoice (`vBS`, `vPC`).
struct ZRMusicalSinger {
    /// The tick relative to the part's start where the singer starts; 0 for the first singer.
    int posTick = 0;
    /// The VVoice's bank select, 0 to 127.
    int vBS = 0;
    /// The VVoice's program change, 0 to 127.
    int vPC = 0;
};
