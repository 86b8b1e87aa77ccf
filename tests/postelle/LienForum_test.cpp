// The link code of every kind, and the sizes of the two previews.
#include "postelle/Apercus.h"
#include "postelle/LienForum.h"
#include "tests/common/LangFixture.h"

#include <gtest/gtest.h>

namespace {

const lien::ValeursLien kValeurs{"http://h.test", "Ab_1", ".jpg", "My comment", "shot.jpg"};

TEST(LienForum, EveryKindAsTheForumsExpectIt) {
  struct Cas {
    int genre;
    QString texte;
  };
  const QString page = "http://h.test/zimage/Ab_1.php";
  const Cas cas[] = {
      {1, "<a href=\"" + page + "\" target=\"_blank\" title=\"My comment\"><img src=\"http://h.test/miniature/Ab_1.jpg\" alt=\"My comment\" /></a>"},
      {2, "[url=" + page + "][img]http://h.test/miniature/Ab_1.jpg[/img][/url]"},
      {3, "<a href=\"" + page + "\" target=\"_blank\" title=\"My comment\"><img src=\"http://h.test/zimage/zz.png\" alt=\"My comment\" /></a>"},
      {4, "[url=" + page + "][img]http://h.test/images/zz.png[/img][/url]"},
      {5, "<a href=\"" + page + "\" target=\"_blank\" title=\"My comment\"><img src=\"http://h.test/avatar/Ab_1.jpg\" alt=\"My comment\" /></a>"},
      {6, "[url=" + page + "][img]http://h.test/avatar/Ab_1.jpg[/img][/url]"},
      {7, "<a href=\"" + page + "\" target=\"_blank\" title=\"My comment\">shot.jpg</a>"},
      {8, page},
      {0, ""},
      {9, ""},
      {-1, ""},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.genre);
    EXPECT_EQ(lien::CodeLien(c.genre, kValeurs), c.texte);
  }
}

// A quote or an angle bracket in the comment or the file name must not end the
// attribute or open a tag; BBCode and the bare address take nothing of them.
TEST(LienForum, HtmlKindsEscapeWhatTheyInsert) {
  lien::ValeursLien v = kValeurs;
  v.commentaire = "say \"hi\" <b>&";
  v.titre = "a<b>.jpg";
  const QString esc = "say &quot;hi&quot; &lt;b&gt;&amp;";
  for (int genre : {1, 3, 5}) {
    SCOPED_TRACE(genre);
    const QString t = lien::CodeLien(genre, v);
    EXPECT_TRUE(t.contains("title=\"" + esc + "\"")) << t.toStdString();
    EXPECT_TRUE(t.contains("alt=\"" + esc + "\" />")) << t.toStdString();
    EXPECT_FALSE(t.contains("<b>"));
  }
  EXPECT_TRUE(lien::CodeLien(7, v).endsWith("\">a&lt;b&gt;.jpg</a>"));
  for (int genre : {2, 4, 6, 8}) EXPECT_FALSE(lien::CodeLien(genre, v).contains("say"));
}

TEST(LienForum, ExtensionIsTheLastFourCharacters) {
  EXPECT_EQ(lien::extImage("/tmp/a.jpg"), ".jpg");
  EXPECT_EQ(lien::extImage("/tmp/a.jpeg"), "jpeg");
  EXPECT_EQ(lien::extImage("ab"), "ab");
  lien::ValeursLien v = kValeurs;
  v.extImage = lien::extImage("/tmp/a.jpeg");
  EXPECT_EQ(lien::CodeLien(6, v), "[url=http://h.test/zimage/Ab_1.php][img]http://h.test/avatar/Ab_1jpeg[/img][/url]");
}

TEST(Apercus, PicturesFitOrShrinkToTheirLongerSide) {
  struct Cas {
    QSize picture;
    int limite;
    std::optional<QSize> dessin;  // nullopt: shown unscaled
  };
  const Cas cas[] = {
      {{250, 250}, 250, std::nullopt},
      {{251, 100}, 250, QSize(250, 100)},
      {{100, 300}, 250, QSize(83, 250)},
      {{100, 300}, 70, QSize(23, 70)},
      {{60, 60}, 70, std::nullopt},
      {{60, 60}, 250, std::nullopt},
      {{70, 71}, 70, QSize(69, 70)},
      {{4000, 3}, 250, QSize(250, 1)},  // never a zero-height drawing
      {{1920, 1080}, 70, QSize(70, 39)},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(testing::Message() << c.picture.width() << "x" << c.picture.height() << " in " << c.limite);
    const auto r = apercu::reduction(c.picture, c.limite);
    ASSERT_EQ(r.has_value(), c.dessin.has_value());
    if (!r) continue;
    EXPECT_EQ(r->dessin, *c.dessin);
    if (c.dessin->height() == 1) continue;  // the box itself may be thinner than a pixel
    EXPECT_NEAR(r->largeurTwips, c.dessin->width() * 15, 8);
    EXPECT_NEAR(r->hauteurTwips, c.dessin->height() * 15, 8);
  }
}

}  // namespace
