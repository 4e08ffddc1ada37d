// The Japanese code page of the save file's names.
#pragma once

#include <optional>
#include <string>

namespace vern {

// UTF-8 → CP932 bytes; nothing when a character has no CP932 form.
std::optional<std::string> EncodeCp932(const std::string& utf8);
// CP932 bytes → UTF-8; nothing when the bytes are not valid CP932.
std::optional<std::string> DecodeCp932(const std::string& bytes);
// True when the text survives the trip to CP932 and back unchanged.
bool FitsCp932(const std::string& utf8);
// The text with each character that CP932 knows only in another Unicode form put in that form:
// 〜 (U+301C) as ～ (U+FF5E), − (U+2212) as － (U+FF0D), ‖ (U+2016) as ∥ (U+2225), — (U+2014)
// as ― (U+2015), ¢ £ ¬ ¦ as ￠ ￡ ￢ ￤. Input methods on Linux type the first forms.
std::string InCp932Forms(const std::string& utf8);
// The first character of the text that CP932 cannot hold, or "" when all fit.
std::string FirstUnfitting(const std::string& utf8);

// Number of characters (code points) of a UTF-8 text.
std::size_t CharCount(const std::string& utf8);
// The first n characters of a UTF-8 text.
std::string FirstChars(const std::string& utf8, std::size_t n);

} // namespace vern
