#pragma once
// Debug consistency check of a document, used by tests and fuzzers after
// every operation sequence.
#include <string>

class TWPRTFText;

// Empty when every invariant holds, else a description of the first violation.
std::string CheckDocument(const TWPRTFText& doc);
