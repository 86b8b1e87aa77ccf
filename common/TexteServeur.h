#pragma once
// What a server sends (an XML-RPC fault, an FTP reply) goes into a message box
// only through here: a hostile or broken server must not freeze the box with a
// megabyte of text nor turn its words around with direction overrides.
#include <QString>

// At most kTexteServeurMax characters (then "..."); control characters become
// blanks, direction marks and overrides go; a character outside the basic
// plane is never cut in two.
inline constexpr qsizetype kTexteServeurMax = 300;
QString texteServeur(const QString& texte);
