// The extra blob of the RAvud job, as stored behind its record: the copy size, the printer's name and driver name,
// and the public part of the printer's device mode. It is a file format: packed, little-endian, every offset
// pinned below. Names read from a file may lack their terminator; they are read through ReadField, never past
// their field.
#pragma once

#include "pages/device_mode.h"
#include "settings/fixed_string.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace tolvan {

inline constexpr std::size_t kRAvudNameBytes = 32;
// dmDeviceName up to and including dmReserved2; the rest of the device mode, the driver's own part included, is
// not kept.
inline constexpr std::size_t kRAvudDevModeBytes = 148;

#pragma pack(push, 1)
struct RAvudBlob {
    uint16_t wCopyOption; // copy size, 1 to 11; 0 (and any other value) means same size
    char szPrinterName[kRAvudNameBytes];
    char szDriverName[kRAvudNameBytes];
    uint8_t abDevMode[kRAvudDevModeBytes];
};
#pragma pack(pop)

inline constexpr std::size_t kRAvudBlobSize = 214;
static_assert(sizeof(RAvudBlob) == kRAvudBlobSize);
static_assert(offsetof(RAvudBlob, wCopyOption) == 0);
static_assert(offsetof(RAvudBlob, szPrinterName) == 2);
static_assert(offsetof(RAvudBlob, szDriverName) == 34);
static_assert(offsetof(RAvudBlob, abDevMode) == 66);

// The blob in a page's buffer; a buffer of any other length holds none (a zeroed blob).
inline RAvudBlob ReadRAvudBlob(const std::vector<uint8_t>& bytes) {
    RAvudBlob blob{};
    if (bytes.size() == kRAvudBlobSize)
        std::memcpy(&blob, bytes.data(), kRAvudBlobSize);
    return blob;
}

inline void WriteRAvudBlob(std::vector<uint8_t>& bytes, const RAvudBlob& blob) {
    bytes.resize(kRAvudBlobSize);
    std::memcpy(bytes.data(), &blob, kRAvudBlobSize);
}

// Whether a printer can be stored: its name and driver name must come back whole, with their terminators, so that
// the next start finds the same printer.
inline bool FitsRAvudBlob(std::string_view printerName, std::string_view driverName) {
    return printerName.size() < kRAvudNameBytes && driverName.size() < kRAvudNameBytes;
}

// Takes the first bytes of a device mode (length bytes) as the stored part; what the device mode lacks is zero.
inline void TakeDevModePart(RAvudBlob& blob, const uint8_t* devMode, std::size_t length) {
    std::memset(blob.abDevMode, 0, sizeof blob.abDevMode);
    if (devMode && length != 0)
        std::memcpy(blob.abDevMode, devMode, length < sizeof blob.abDevMode ? length : sizeof blob.abDevMode);
}

// The device mode the print dialog starts from, self-consistent whatever the blob holds: the printer's own device
// mode (ownLength bytes, as the spooler gives it, with its driver's part) with the stored public part laid over it
// but its own size fields, so that the block holds exactly as many bytes as it says. Without a whole device mode of
// the printer, the stored part alone, saying it has kRAvudDevModeBytes bytes and no driver part. A blob whose part
// was never filled (dmSize 0) gives the printer's own unchanged.
inline std::vector<uint8_t> DeviceModeForDialog(const RAvudBlob& blob, const uint8_t* own, std::size_t ownLength) {
    const uint8_t* part = blob.abDevMode;
    const bool partFilled = DeclaredDevModeLength(part, kRAvudDevModeBytes) != 0;
    if (IsWholeDevMode(own, ownLength)) {
        std::vector<uint8_t> block(own, own + ownLength);
        if (partFilled) {
            const std::size_t ownSize = own[kDevModeSizeOffset] | std::size_t{own[kDevModeSizeOffset + 1]} << 8;
            std::memcpy(block.data(), part, ownSize < kRAvudDevModeBytes ? ownSize : kRAvudDevModeBytes);
            std::memcpy(block.data() + kDevModeSizeOffset, own + kDevModeSizeOffset, 4);
        }
        return block;
    }
    std::vector<uint8_t> block(part, part + kRAvudDevModeBytes);
    block[kDevModeSizeOffset] = static_cast<uint8_t>(kRAvudDevModeBytes);
    block[kDevModeSizeOffset + 1] = 0;
    block[kDevModeDriverExtraOffset] = 0;
    block[kDevModeDriverExtraOffset + 1] = 0;
    return block;
}

} // namespace tolvan
