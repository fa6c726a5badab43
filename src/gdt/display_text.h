// What the operator reads of the patient: the status-bar panels and the names
// in the caption, as plain one-line text. Display only: the imported bytes
// stay as they are for the target file and every comparison.
#pragma once

#include "gdt/display_charset.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tessaro::gdt {

// No panel or caption shows more than this many bytes of a field: a request
// whose lines end in LF alone is one line, and its patient number would run on
// for the whole file, which a label would lay out for seconds.
inline constexpr std::size_t kMaxShownBytes = 512;

// UTF-8 in and out. Control characters (C0, DEL, C1) and the line and
// paragraph separators show as a blank; bidirectional format characters are
// left out, so that no name reads backwards or drags its neighbours along.
std::string PlainOneLine(std::string_view utf8);

// A panel's bytes as shown: at most kMaxShownBytes of them, decoded in the
// request's charset, "…" after a cut, one plain line.
std::string ShownPanel(std::string_view panelBytes, DisplayCharset charset);

// "Velt - Tessaro [" first name " " last name "]", both upper case, taken from
// the panels 2 and 3 from their fifth character on (nothing after "VN:").
std::string CaptionText(std::string_view firstNamePanel, std::string_view lastNamePanel,
                        DisplayCharset charset);

} // namespace tessaro::gdt
