#include "switch/close_by_title.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/codec.h"
#include "platform/fake/fake_window_system.h"

namespace zorvek {
namespace {

using Ids = std::vector<WindowId>;

TEST(CloseByTitle, AsksOnlyTheFirstMatchingWindowFromTheTop) {
  FakeWindowSystem desktop;
  desktop.add(1, "Mail");
  desktop.add(2, "Editor - a.txt");
  desktop.add(3, "Editor - b.txt");
  CloseRound round;

  close_by_title(desktop, "Editor", round);

  EXPECT_EQ(desktop.close_requests(), Ids{2});
  EXPECT_EQ(round.asked(), std::set<WindowId>{2});
  EXPECT_EQ(desktop.enumerations(), 1);
  EXPECT_TRUE(desktop.open(3));
}

TEST(CloseByTitle, RepeatedEntryPassesOverWindowsAlreadyAsked) {
  FakeWindowSystem desktop;
  desktop.add(1, "Editor - a.txt", /*closes=*/false);  // asks its user first, so it stays
  desktop.add(2, "Editor - b.txt");
  CloseRound round;

  close_by_title(desktop, "Editor", round);
  close_by_title(desktop, "Editor", round);
  close_by_title(desktop, "Editor", round);

  EXPECT_EQ(desktop.close_requests(), (Ids{1, 2}));
  EXPECT_TRUE(desktop.open(1));
}

TEST(CloseByTitle, ARoundListsTheWindowsOnceSoBoxesItMakesAppearAreLeftAlone) {
  FakeWindowSystem desktop;
  desktop.add(1, "Editor - a.txt");
  CloseRound round;

  close_by_title(desktop, "Editor", round);
  desktop.add(2, "Editor - Save changes?");  // what the close request made appear
  close_by_title(desktop, "Editor", round);

  EXPECT_EQ(desktop.close_requests(), Ids{1});
  EXPECT_EQ(desktop.enumerations(), 1);

  CloseRound next;
  close_by_title(desktop, "Editor", next);
  EXPECT_EQ(desktop.close_requests(), (Ids{1, 2}));
}

TEST(CloseByTitle, NothingMatchesNothingIsAsked) {
  FakeWindowSystem desktop;
  desktop.add(1, "Editor");
  desktop.add(2, "");
  CloseRound round;

  close_by_title(desktop, "editor", round);
  close_by_title(desktop, "Mail", round);

  EXPECT_TRUE(desktop.close_requests().empty());
  EXPECT_TRUE(round.asked().empty());
}

TEST(CloseByTitle, PassesOverTitlesTheRuleRejects) {
  FakeWindowSystem desktop;
  desktop.add(1, "");
  desktop.add(2, jp("ソフト"));                  // a backslash only inside "ソ"
  desktop.add(3, std::string(260, 'x') + "\\");  // beyond the bytes compared
  desktop.add(4, "C:\\tmp");
  CloseRound round;

  close_by_title(desktop, "\\", round);

  EXPECT_EQ(desktop.close_requests(), Ids{4});
}

TEST(CloseByTitle, TextLongerThanTheComparedTitleNeverMatches) {
  FakeWindowSystem desktop;
  desktop.add(1, std::string(300, 'a'));
  CloseRound round;

  close_by_title(desktop, std::string(255, 'a'), round);
  EXPECT_TRUE(desktop.close_requests().empty());

  close_by_title(desktop, std::string(254, 'a'), round);
  EXPECT_EQ(desktop.close_requests(), Ids{1});
}

}  // namespace
}  // namespace zorvek
