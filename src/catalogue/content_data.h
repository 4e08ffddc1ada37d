// The content files as the build embedded them (generated source, see cmake/EmbedContent.cmake).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vern {

bool EmbeddedContent(const std::string& path, std::string_view& text);
std::vector<std::string> EmbeddedContentPaths();

} // namespace vern
