// Every help context and topic leads to a page of the help, at an anchor that page has.

#include <cctype>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "shell/help_topics.h"

namespace quorrel {
namespace {

std::string PageText(const std::string& file) {
  std::ifstream in(std::string(QUORREL_HELP_PAGES) + "/" + file);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

//! "" when `page` ("file.html#anchor") names a file that exists and holds that anchor;
//! otherwise what is wrong.
std::string PageFault(const std::string& page) {
  const std::size_t hash = page.find('#');
  const std::string file = page.substr(0, hash);
  const std::string text = PageText(file);
  if (text.empty()) return file + " does not exist";
  if (hash == std::string::npos) return "";
  const std::string anchor = page.substr(hash + 1);
  if (text.find("id=\"" + anchor + "\"") == std::string::npos) {
    return file + " has no anchor " + anchor;
  }
  return "";
}

TEST(HelpTopics, EveryContextOpensAPageThatExists) {
  const std::vector<int> contexts = HelpContexts();
  ASSERT_FALSE(contexts.empty());
  for (const int context : contexts) {
    const auto page = HelpPageOfContext(context);
    ASSERT_TRUE(page.has_value()) << context;
    EXPECT_EQ(PageFault(*page), "") << "context " << context;
  }
}

TEST(HelpTopics, ContextsAreDistinct) {
  const std::vector<int> contexts = HelpContexts();
  EXPECT_EQ(std::set<int>(contexts.begin(), contexts.end()).size(), contexts.size());
}

TEST(HelpTopics, EveryTopicOpensAPageThatExistsWhateverItsCase) {
  const std::vector<std::string> topics = HelpTopics();
  ASSERT_FALSE(topics.empty());
  for (const std::string& topic : topics) {
    std::string upper = topic;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto page = HelpPageOfTopic(upper);
    ASSERT_TRUE(page.has_value()) << topic;
    EXPECT_EQ(PageFault(*page), "") << "topic " << topic;
  }
}

TEST(HelpTopics, UnknownContextsAndTopicsHaveNoPage) {
  EXPECT_FALSE(HelpPageOfContext(0).has_value());
  EXPECT_FALSE(HelpPageOfContext(-40).has_value());
  EXPECT_FALSE(HelpPageOfTopic("").has_value());
  EXPECT_FALSE(HelpPageOfTopic("settings dialog").has_value());
}

}  // namespace
}  // namespace quorrel
