#pragma once
// Plain integer results of every device operation; never exceptions.

namespace qv::device {

inline constexpr int kSuccess = 1;
inline constexpr int kNoKeyboard = 0;        // no keyboard present, or the wait failed
inline constexpr int kWriteRefused = -1;     // the service library refused the write
inline constexpr int kNoMatchingAnswer = -2; // no answer with the right command byte after 3 tries
inline constexpr int kStatusFF = -102;       // the keyboard answered with status 0xFF
inline constexpr int kStatusFE = -103;       // the keyboard answered with status 0xFE
inline constexpr int kOutOfRange = -201;     // profile index 3 or more

}  // namespace qv::device
