// The tag readers of XML texts.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "orvcorekit/Orv_streams.h"
#include "support/tempfiles.h"

namespace {

using orv::TXmlTag;

// Kind, name, attributes and content of every tag, one text per tag.
std::vector<std::string> Walk(const std::string& S) {
  std::vector<std::string> R;
  TXmlTag T;
  for (int64_t Pos = 1; orv::ReadNextTagInString(S, Pos, T);)
    R.push_back(std::to_string(T.Kind) + "|" + T.Name + "|" + T.Attributes + "|" + T.Content);
  return R;
}

std::vector<std::string> WalkFile(const std::string& Name) {
  std::vector<std::string> R;
  orv::TTextFile F;
  F.Reset(Name);
  TXmlTag T;
  while (orv::ReadNextTagInTextFile(F, T))
    R.push_back(std::to_string(T.Kind) + "|" + T.Name + "|" + T.Attributes + "|" + T.Content);
  return R;
}

const std::string Doc =
    "<?xml version=\"1.0\"?>\r\n"
    "<membasedlearner sig=\"Veltrax\" vers=\"1.000\" id=\"a>b\">\r\n"
    "<!-- TMemBasedLearner / Kovrant -->\r\n"
    "<comment>x &lt; y &amp;&amp; &#233;&#x20AC; &bogus; AT&T</comment>\r\n"
    "<modeldata>\r\n"
    "<cell ix='1' iy=\"2\">3.5</cell><empty a=\"1\"/><br/>\r\n"
    "<code>a<!-- note -->b<![CDATA[<raw> &amp;]]></code>\r\n"
    "</modeldata>\r\n"
    "</membasedlearner>\r\n";

const std::vector<std::string> DocTags = {
    "0|membasedlearner|sig=\"Veltrax\" vers=\"1.000\" id=\"a>b\"|\r\n\r\n",
    "0|comment||x < y && \xC3\xA9\xE2\x82\xAC &bogus; AT&T",
    "1|comment||\r\n",
    "0|modeldata||\r\n",
    "0|cell|ix='1' iy=\"2\"|3.5",
    "1|cell||",
    "2|empty|a=\"1\"|",
    "2|br||\r\n",
    "0|code||ab<raw> &amp;",
    "1|code||\r\n",
    "1|modeldata||\r\n",
    "1|membasedlearner||\r\n"};

TEST(XmlTags, WalkTagByTagWithTheTextBehindEach) {
  EXPECT_EQ(Walk(Doc), DocTags);
  orv::test::TempDir Dir;
  std::ofstream(Dir.File("d.xml"), std::ios::binary) << Doc;
  EXPECT_EQ(WalkFile(Dir.File("d.xml")), DocTags);
}

TEST(XmlTags, PositionAdvancesAndTruncatedTextEndsTheWalk) {
  TXmlTag T;
  int64_t Pos = 1;
  const std::string S = "junk<a>1</a>";
  ASSERT_TRUE(orv::ReadNextTagInString(S, Pos, T));
  EXPECT_EQ(Pos, 9);  // on "</a>"
  ASSERT_TRUE(orv::ReadNextTagInString(S, Pos, T));
  EXPECT_EQ(T.Kind, orv::xtEnd);
  EXPECT_FALSE(orv::ReadNextTagInString(S, Pos, T));
  EXPECT_EQ(Pos, 13);
  EXPECT_EQ(T.Name, "a");  // unchanged by the failed call
  Pos = -5;  // counts as 1
  EXPECT_TRUE(orv::ReadNextTagInString(S, Pos, T));
  Pos = 1000;
  EXPECT_FALSE(orv::ReadNextTagInString(S, Pos, T));
  // Every cut of the document gives a prefix of its tags and never reads past the end.
  for (size_t Cut = 0; Cut <= Doc.size(); ++Cut) {
    const std::vector<std::string> Part = Walk(Doc.substr(0, Cut));
    ASSERT_LE(Part.size(), DocTags.size());
    for (size_t i = 0; i + 1 < Part.size(); ++i) EXPECT_EQ(Part[i], DocTags[i]) << Cut;
  }
  EXPECT_TRUE(Walk("<a b=\"unclosed>").empty());
  EXPECT_TRUE(Walk("<!-- open").empty());
  EXPECT_TRUE(Walk("<?pi").empty());
  EXPECT_EQ(Walk("<>x"), std::vector<std::string>{"0|||x"});
}

TEST(XmlTags, EscapeAndUnescapeRoundTrip) {
  // text, escaped for a content, escaped for an attribute (XML 1.0, section 2.4 and 3.3.3)
  const struct { std::string Text, Content, Attribute; } Rows[] = {
      {"", "", ""},
      {"a<b>&c", "a&lt;b&gt;&amp;c", "a&lt;b&gt;&amp;c"},
      {"say \"hi\" 'x'", "say \"hi\" 'x'", "say &quot;hi&quot; 'x'"},
      {"&amp;", "&amp;amp;", "&amp;amp;"},
      {"\xC3\xA9\r\n", "\xC3\xA9\r\n", "\xC3\xA9\r\n"},
  };
  for (const auto& R : Rows) {
    EXPECT_EQ(orv::EscapeXml(R.Text), R.Content) << R.Text;
    EXPECT_EQ(orv::EscapeXml(R.Text, true), R.Attribute) << R.Text;
    EXPECT_EQ(orv::UnescapeXml(R.Attribute), R.Text) << R.Text;
  }
  // As in a content: numeric references, unknown or unterminated entities kept.
  EXPECT_EQ(orv::UnescapeXml("&#233;&#x41;&bogus; AT&T &lt"), "\xC3\xA9" "A&bogus; AT&T &lt");
}

}  // namespace
