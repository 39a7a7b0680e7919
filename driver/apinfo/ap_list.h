// The rules of the application lists, apart from any file: which entries belong to a category,
// which entries the module accepts from the program, and how adding and removing treat names.
// Portable, so the rules are tested natively under the sanitizers.
#pragma once

#include "driver/apinfo/ap_user_entry.h"
#include "driver/apinfo/ap_category.h"
#include "settings/job_record.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tolvan::apinfo {

namespace ApOption {
// Set on every entry of the driver's catalogue: the search looks for its program by name in the
// usual places. Entries that the user added have no options; only their stored path counts.
inline constexpr uint32_t kShipped = 0x1;
} // namespace ApOption

inline constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

// Application names and file names are compared the way Windows compares file names: ASCII
// letters without regard to case, every other byte as it stands.
bool SameName(std::string_view a, std::string_view b);

// Categories are bits; an entry belongs to every category whose bit it carries. Category 0
// stands for all entries.
bool InCategory(const ApEntry& entry, uint32_t category);

// The index of the first entry at or after from in the category, or kNotFound.
std::size_t FindInCategory(std::span<const ApEntry> entries, std::size_t from, uint32_t category);

bool IsUserAdded(const ApEntry& entry);

enum class EntryCheck : uint8_t { kOk, kBadSize, kNoCategory, kNoName, kUnterminated };

// What an entry handed in for writing must satisfy: the right size field, a category, a name,
// and a terminator inside every text field, so that everything later read from it is bounded.
EntryCheck CheckNewEntry(const ApEntry& entry);

// The index of the entry with the same category and name as entry, or kNotFound.
std::size_t FindSameEntry(std::span<const ApEntry> entries, const ApEntry& entry);

// Puts entry in place of the one with the same category and name, or appends it when there is
// none. Returns true when an entry was replaced.
bool AddOrReplace(std::vector<ApEntry>& entries, const ApEntry& entry);

// Removes every entry in the category with that name; returns how many went. Category 0 removes
// nothing: a removal always says where.
std::size_t RemoveByName(std::vector<ApEntry>& entries, uint32_t category, std::string_view name);

// The program's file name when the field holds a plain file name; empty when the field is empty,
// unterminated, or names a path (which a search by name must not follow).
std::string_view ProgramName(const ApEntry& entry);

// Stores folder in szExeDir with exactly one trailing backslash. Returns false, leaving the entry
// unchanged, when the folder is empty or does not fit.
bool SetProgramFolder(ApEntry& entry, std::string_view folder);

} // namespace tolvan::apinfo
