// A printer's device mode as bytes: the public part of dmSize bytes followed by dmDriverExtra bytes of the
// driver's own, exactly as the printer driver gives it and as a copy job stores it behind its record. Bytes read
// from a file are believed only as far as they agree with their own length.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tolvan {

inline constexpr size_t kDevModeSizeOffset = 36;        // dmSize, 16 bits
inline constexpr size_t kDevModeDriverExtraOffset = 38; // dmDriverExtra, 16 bits
// The public fields that every version of the structure has, dmDeviceName through dmCollate: with a smaller
// dmSize the bytes are no device mode.
inline constexpr size_t kMinDevModeSize = 70;

// dmSize + dmDriverExtra as the bytes say, or 0 when they are too few to hold both fields or dmSize is below the
// public part.
inline size_t DeclaredDevModeLength(const uint8_t* bytes, size_t available) {
    if (!bytes || available < kDevModeDriverExtraOffset + 2)
        return 0;
    const size_t size = bytes[kDevModeSizeOffset] | static_cast<size_t>(bytes[kDevModeSizeOffset + 1]) << 8;
    const size_t extra = bytes[kDevModeDriverExtraOffset] | static_cast<size_t>(bytes[kDevModeDriverExtraOffset + 1])
                                                                << 8;
    return size < kMinDevModeSize ? 0 : size + extra;
}

// Whether the bytes are one whole device mode: exactly as long as they say.
inline bool IsWholeDevMode(const uint8_t* bytes, size_t length) {
    return length != 0 && DeclaredDevModeLength(bytes, length) == length;
}

} // namespace tolvan
