#pragma once

// The nesting guard of XML text. rapidxml's parser recurses once per level
// of element nesting, so text nested deeper than cMaxXmlNesting is refused
// before the parser walks it. The build checks the shipped data files with
// the same walk (tools/data-crc-table).

inline constexpr int cMaxXmlNesting = 256;

// The first element of text (ending in a NUL) nested deeper than limit, or
// null when there is none.
const char* tooDeepXmlElement(const char* text, int limit);
