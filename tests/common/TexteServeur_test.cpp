// A server's text on its way into a message box.
#include "common/TexteServeur.h"

#include <gtest/gtest.h>

namespace {

TEST(TexteServeur, ControlsAndDirectionOverridesGoAndLongTextsAreCut) {
  const QString clef = QString::fromUcs4(U"\U0001F511");
  struct Case {
    const char* name;
    QString in;
    QString out;
  };
  const Case cases[] = {
      {"plain", "Quota exceeded", "Quota exceeded"},
      {"line ends and a bell", "550 No\r\nsuch\tfile\a", "550 No  such file "},
      {"direction overrides and marks", QString::fromUtf8("evil\u202Egpj.exe\u2066x\u2069\u200F"), "evilgpj.exex"},
      {"accents and pictographs stay", QString::fromUtf8("d\u00E9j\u00E0 ") + clef, QString::fromUtf8("d\u00E9j\u00E0 ") + clef},
      {"exactly the limit", QString(kTexteServeurMax, u'a'), QString(kTexteServeurMax, u'a')},
      {"one past the limit", QString(kTexteServeurMax + 1, u'a'), QString(kTexteServeurMax, u'a') + "..."},
      {"a pair across the limit", QString(kTexteServeurMax - 1, u'a') + clef,
       QString(kTexteServeurMax - 1, u'a') + "..."},
      {"a lone half of a pair", QString(QChar(0xD83D)) + "x", " x"},
  };
  for (const Case& c : cases) EXPECT_EQ(texteServeur(c.in), c.out) << c.name;
  // A megabyte of fault text gives a box-sized line at once.
  EXPECT_EQ(texteServeur(QString(1 << 20, u'z')).size(), kTexteServeurMax + 3);
}

}  // namespace
