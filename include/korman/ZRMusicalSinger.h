// The singer a host gives to a new sequence's first musical part.
#pragma once

/// A singer change: from `posTick` on, the part sings the VVoice (`vBS`, `vPC`).
struct ZRMusicalSinger {
    int posTick = 0;
    int vBS = 0;
    int vPC = 0;
};
