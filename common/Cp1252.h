#pragma once
// Windows-1252, the code page the language files are written in. Qt 6 carries no
// such codec without ICU, so the table is our own. The five bytes 1252 leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same
// number, so every byte decodes and decoding then encoding gives the bytes back.
#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

namespace cp1252 {

// Every byte becomes one character.
QString decode(const QByteArray& bytes);

// One byte per character; nullopt when a character has no byte in 1252. Then
// *badIndex (when given) is the index in `text` of the first such character.
std::optional<QByteArray> encode(QStringView text, qsizetype* badIndex = nullptr);

}  // namespace cp1252
