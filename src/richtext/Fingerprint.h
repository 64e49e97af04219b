#pragma once
// A 64-bit fingerprint of what a document shows: its text, every character's
// and paragraph's formatting, the header's tables and page block, and its
// objects; not what layout writes into it (widths, heights, positions, line
// breaks, selection states). Two documents that show the same have the same
// fingerprint; a cached layout of a document is good while it stays the same.
#include <cstdint>

class TWPRTFText;

std::uint64_t ContentFingerprint(const TWPRTFText& document);
