// The working directory a launch-list entry is started in: the folder part of its path.
#pragma once

#include <string>
#include <string_view>

namespace zorvek {

// How paths are written on one platform.
struct PathSyntax {
  // Bytes that end a folder or drive part of a path.
  std::string_view separators;
  // The separator that is dropped from the end of a folder (never from a root).
  char delimiter;
};

inline constexpr PathSyntax posix_paths{"/", '/'};
// Backslash, and the colon after a drive letter.
inline constexpr PathSyntax windows_paths{"\\:", '\\'};

#ifdef _WIN32
inline constexpr PathSyntax native_paths = windows_paths;
#else
inline constexpr PathSyntax native_paths = posix_paths;
#endif

// The entry up to its last separator (CP932: the second byte of a double-byte character never
// counts as one). The trailing delimiter is dropped unless it follows another separator or starts
// the entry, so a root keeps it: "/a/b.txt" -> "/a", "/b.txt" -> "/", "C:\b.txt" -> "C:\",
// "C:b.txt" -> "C:". A bare file name gives an empty text.
std::string working_directory(std::string_view entry, const PathSyntax& syntax = native_paths);

}  // namespace zorvek
