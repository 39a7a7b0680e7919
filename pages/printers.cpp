#include "pages/printers.h"

#include "pages/device_mode.h"
#include "pages/text_compare.h"
#include "ui/unique_handle.h"

#include <cstddef>
#include <cstring>
#include <new>
#include <utility>

namespace tolvan {

static_assert(offsetof(DEVMODEA, dmSize) == kDevModeSizeOffset);
static_assert(offsetof(DEVMODEA, dmDriverExtra) == kDevModeDriverExtraOffset);
static_assert(offsetof(DEVMODEA, dmFormName) == kMinDevModeSize);

namespace {

constexpr DWORD kEnumFlags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;

// A global block locked for as long as the object lives.
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL block) : m_block(block), m_data(block ? ::GlobalLock(block) : nullptr) {}
    ~LockedGlobal() {
        if (m_data)
            ::GlobalUnlock(m_block);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;

    uint8_t* Data() const { return static_cast<uint8_t*>(m_data); }
    // What the block really holds, which a size field inside it must never exceed.
    size_t Size() const { return m_data ? ::GlobalSize(m_block) : 0; }

private:
    HGLOBAL m_block;
    void* m_data;
};

// The blocks that the print dialog hands back; the dialog may have replaced the ones it was given.
struct PrintDialogBlocks {
    UniqueGlobal devMode;
    UniqueGlobal devNames;
    void TakeFrom(PRINTDLGA& dialog) {
        devMode.Reset(std::exchange(dialog.hDevMode, nullptr));
        devNames.Reset(std::exchange(dialog.hDevNames, nullptr));
        if (dialog.hDC)
            ::DeleteDC(std::exchange(dialog.hDC, nullptr));
    }
};

// The device name of a DEVNAMES block, read no further than the block reaches.
std::string DeviceName(HGLOBAL devNames) {
    LockedGlobal lock(devNames);
    const size_t size = lock.Size();
    if (!lock.Data() || size < sizeof(DEVNAMES))
        return {};
    const auto* names = reinterpret_cast<const DEVNAMES*>(lock.Data());
    const size_t offset = names->wDeviceOffset;
    if (offset >= size)
        return {};
    const char* text = reinterpret_cast<const char*>(lock.Data()) + offset;
    const void* end = std::memchr(text, 0, size - offset);
    return end ? std::string(text, static_cast<const char*>(end)) : std::string();
}

UniqueGlobal MakeDevModeBlock(const uint8_t* devMode, size_t devModeSize, size_t blockSize) {
    if (blockSize < devModeSize)
        blockSize = devModeSize;
    UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, blockSize));
    LockedGlobal lock(block.Get());
    if (!lock.Data())
        return {};
    if (devMode && devModeSize != 0)
        std::memcpy(lock.Data(), devMode, devModeSize);
    return block;
}

// Driver, printer and port name of the entry, each zero-terminated, behind the header that points at them.
UniqueGlobal MakeDevNamesBlock(const PRINTER_INFO_2A& entry) {
    const std::string_view names[] = {entry.pDriverName ? entry.pDriverName : "",
                                      entry.pPrinterName ? entry.pPrinterName : "",
                                      entry.pPortName ? entry.pPortName : ""};
    size_t size = 13;
    for (std::string_view name : names)
        size += name.size();
    // The offsets are 16-bit: names that do not fit them cannot be described.
    if (size > 0xFFFF)
        return {};
    UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    LockedGlobal lock(block.Get());
    if (!lock.Data())
        return {};
    WORD offsets[3];
    size_t at = sizeof(DEVNAMES);
    for (int i = 0; i < 3; ++i) {
        offsets[i] = static_cast<WORD>(at);
        std::memcpy(lock.Data() + at, names[i].data(), names[i].size());
        at += names[i].size() + 1;
    }
    auto* header = reinterpret_cast<DEVNAMES*>(lock.Data());
    header->wDriverOffset = offsets[0];
    header->wDeviceOffset = offsets[1];
    header->wOutputOffset = offsets[2];
    header->wDefault = 0;
    return block;
}

PRINTDLGA PrintDialogDefaults() {
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = kPrintDialogFlags;
    return dialog;
}

} // namespace

bool IsFaxPrinter(const char* name) {
    if (!name)
        return false;
    std::string lower(name);
    if (!lower.empty())
        ::CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
    return lower.find("fax") != std::string::npos;
}

bool CPrinterEnumeration::Take() {
    Release();
    DWORD needed = 0;
    DWORD count = 0;
    ::EnumPrintersA(kEnumFlags, nullptr, 2, nullptr, 0, &needed, &count);
    if (needed == 0)
        return true;
    try {
        m_buffer.assign(needed, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    count = 0;
    if (!::EnumPrintersA(kEnumFlags, nullptr, 2, m_buffer.data(), needed, &needed, &count))
        count = 0;
    m_count = count;
    return true;
}

void CPrinterEnumeration::Release() {
    m_count = 0;
    m_buffer.clear();
    m_buffer.shrink_to_fit();
}

const PRINTER_INFO_2A* CPrinterEnumeration::Find(std::string_view name) const {
    for (DWORD i = 0; i < m_count; ++i) {
        const PRINTER_INFO_2A& entry = At(i);
        if (entry.pPrinterName && SameTextIgnoringCase(entry.pPrinterName, name))
            return &entry;
    }
    return nullptr;
}

size_t DevModeLength(const PRINTER_INFO_2A& entry) {
    return entry.pDevMode ? size_t{entry.pDevMode->dmSize} + entry.pDevMode->dmDriverExtra : 0;
}

std::string DefaultPrinterName() {
    DWORD size = 0;
    if (::GetDefaultPrinterA(nullptr, &size) || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
        return {};
    std::string name(size, '\0');
    if (!::GetDefaultPrinterA(name.data(), &size))
        return {};
    // The spooler counts the terminator; the name ends at the first one within the buffer.
    name.resize(strnlen(name.data(), name.size()));
    return name;
}

PrintDialogResult ShowPrintDialog(HWND owner, const PRINTER_INFO_2A& entry, const uint8_t* devMode, size_t devModeSize,
                                  size_t blockSize, PrintDialogChoice& choice) {
    PrintDialogBlocks blocks;
    blocks.devMode = MakeDevModeBlock(devMode, devModeSize, blockSize);
    blocks.devNames = MakeDevNamesBlock(entry);
    if (!blocks.devMode || !blocks.devNames)
        return PrintDialogResult::kFailed;

    PRINTDLGA dialog = PrintDialogDefaults();
    // Modal to the program's window, so that nothing there (Exit above all) runs while the dialog is open.
    dialog.hwndOwner = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
    dialog.hDevMode = blocks.devMode.Release();
    dialog.hDevNames = blocks.devNames.Release();
    const BOOL confirmed = ::PrintDlgA(&dialog);
    blocks.TakeFrom(dialog);
    if (!confirmed)
        return ::CommDlgExtendedError() == 0 ? PrintDialogResult::kCancelled : PrintDialogResult::kFailed;

    LockedGlobal lock(blocks.devMode.Get());
    const size_t length = DeclaredDevModeLength(lock.Data(), lock.Size());
    if (length == 0 || length > lock.Size())
        return PrintDialogResult::kFailed;
    try {
        choice.devMode.assign(lock.Data(), lock.Data() + length);
        choice.printer = DeviceName(blocks.devNames.Get());
    } catch (const std::bad_alloc&) {
        return PrintDialogResult::kFailed;
    }
    return PrintDialogResult::kConfirmed;
}

} // namespace tolvan
