#pragma once
// The language files are stored scrambled, one line at a time: the first three
// bytes carry the key, every following byte is shifted by it.
#include <QByteArray>
#include <optional>

// Descrambles one stored line (bytes without the line end). A line of three
// bytes gives the empty line. Returns nullopt when the line is shorter than
// three bytes or its key lies outside 0 to 255, which only a damaged file has.
std::optional<QByteArray> DecodLigne(const QByteArray& stored);

// The inverse, for the project's own language-file tool: scrambles a plain line
// with a key of 0 to 255 chosen so that no stored byte is CR, LF, NUL or 26.
// Returns nullopt if no key can do that.
std::optional<QByteArray> CodeLigne(const QByteArray& plain);
// The same with a given key; nullopt if the key puts a forbidden byte in the line.
std::optional<QByteArray> CodeLigne(const QByteArray& plain, int key);
