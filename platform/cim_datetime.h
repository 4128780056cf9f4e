// WMI's date and time text (CIM_DATETIME), as the System Restore provider
// gives a restore point's CreationTime: "yyyymmddHHMMSS.mmmmmmsUUU", where
// sUUU is the offset from UTC in minutes ("20260312081530.123456-060").
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vh {

// The moment in UTC, in FILETIME units (100 ns since 1601); nullopt for
// text that is not a whole date and time of that form.
std::optional<std::uint64_t> CimDateTimeToFileTime(const std::string& text);

}  // namespace vh
