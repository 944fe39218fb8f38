// Writing a whole file so that a failure never damages what was there: the
// bytes go to a temporary file in the target's folder, which then replaces
// the target in one rename. Where the file system allows, the temporary has
// no name until it is complete (Linux O_TMPFILE), so not even a killed
// process leaves one behind.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace wandrix {

// Writes bytes to path. Returns nothing on success, else the text to show
// the user: "<path> could not be written: <reason>". On failure the previous
// file at path is left as it was and no temporary file remains. A symbolic
// link is followed, so the file it names is replaced and the link stays; an
// existing file's permissions carry over to its replacement.
std::optional<std::string> write_file_atomically(const std::string& path, std::string_view bytes);
// The same for a content too large to hold in memory twice (every sample of
// a long walk): write puts it into the stream, which goes straight to the
// temporary file.
std::optional<std::string> write_file_atomically(const std::string& path,
                                                 const std::function<void(std::ostream&)>& write);

// From now on SIGINT, SIGTERM and SIGHUP first remove the named temporary
// file of a write in progress, then end the process by the same signal as
// before (a shell reports 130, 143 or 129).
void remove_temporaries_on_signals();

namespace detail {
// Whether unnamed temporaries may be used; false forces named ones, so that
// tests reach the path of file systems without O_TMPFILE.
void allow_unnamed_temporaries(bool allowed);
}  // namespace detail

}  // namespace wandrix
