#pragma once
// How XML text and attribute values pass between 8-bit program text (system ANSI code page) and the
// form they take in a file (XML entities, UTF-8). The caller chooses the coding at every call.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace tolva::util {

enum TXMLCoding : uint8_t {
    xcFull = 0,      // entities and UTF-8
    xcEntities = 1,  // entities only (the text is UTF-8 already, or ANSI is to be kept)
    xcUTF8 = 2,      // UTF-8 only
    xcNone = 3,      // as it is
};

// Program text -> file form: escapes & " ' < > (full, entities), then ANSI -> UTF-8 (full, UTF-8)
// when some byte is 0x80 or above; pure 7-bit text needs no conversion.
std::string EncodeXMLValue(std::string_view text, TXMLCoding mode, const platform::System& system);

// File form -> program text: UTF-8 -> ANSI (full, UTF-8) when some byte is 0x80 or above, then one
// left-to-right pass over references (full, entities): &amp; &quot; &apos; &lt; &gt; &nbsp; in any
// case (&nbsp; gives a plain space) and numeric "&#...;" read leniently (LeadingInteger), giving
// the low eight bits of the value as one byte. Anything else after "&" stays as it is.
std::string DecodeXMLValue(std::string_view text, TXMLCoding mode, const platform::System& system);

// "true" in any case, or "1".
bool XMLStrToBool(std::string_view text);
// "1" or "0".
std::string XMLBoolToStr(bool value);

}  // namespace tolva::util
