#pragma once

namespace qm {

// Waits of the meter link. The defaults are the meter's; tests shorten them instead of
// sleeping through them.
struct LinkTimings {
    // A reply must be complete this long after its request was sent.
    int replyLimitMs = 10000;
    // The meter echoes the handshake within this time.
    int handshakeWaitMs = 100;
    // A request still not handed to the driver after this long is given up.
    int writeLimitMs = 400;
    // Reading bytes the driver already announced may take at most this long.
    int readLimitMs = 1000;
    // Pause after each frame of a channel plan read.
    int planFramePauseMs = 10;
    // Longest single wait on the descriptor while a reply is due, so that a stop requested
    // from another thread is seen; 0 waits in one piece (a signal still cuts it short).
    int stopCheckMs = 0;

    // The part of a wait of waitMs to spend on the descriptor before looking for a stop.
    int WaitSlice(int waitMs) const {
        return stopCheckMs > 0 && stopCheckMs < waitMs ? stopCheckMs : waitMs;
    }
};

} // namespace qm
