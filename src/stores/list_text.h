#pragma once
// The ";"-separated lists of the settings record and the cleaning of the server's text files.

#include <string>
#include <string_view>

namespace tolva::stores {

// The characters before the first ";", or the whole text when it holds none.
std::string FirstListItem(std::string_view list);

// Trims the text; when the result contains "," or a blank, every "," becomes ";" and, unless
// keepBlanks, every blank is removed.
std::string NormalizeList(std::string_view list, bool keepBlanks);

// NormalizeList for lists of addresses, where a blank between two items separates them:
// " 192.0.2.1  192.0.2.2 , 192.0.2.3" gives "192.0.2.1;192.0.2.2;192.0.2.3". Blanks beside a
// separator are removed.
std::string NormalizeAddressList(std::string_view list);

// Cleans one line of the server's text files: from the first "// " or "#" to the end of the line is
// cut ("##" stands for a literal "#"), one span from "/*" to the next "*/" is deleted, and the rest
// is trimmed.
std::string RemoveComments(std::string_view line);

}  // namespace tolva::stores
