// The one table of the program's commands: its keys, and what the quick reference makes of them.

#include "CommandTable.h"

#include <QKeySequence>
#include <QString>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

// Every key but the quick reference's own is listed in it, under the heading of its menu in a
// place of its own; no two commands share a key.
TEST(CommandTable, EveryKeyIsListedOnceAndNoTwoCommandsShareOne) {
    std::set<QString> keys;
    std::map<TMenu, std::set<int>> ranks;
    for (const TCommandEntry& entry : CommandTable()) {
        const QString key = QKeySequence(entry.Key).toString(QKeySequence::PortableText);
        SCOPED_TRACE(entry.Key);
        if (key.isEmpty()) {
            EXPECT_EQ(entry.ReferenceText, nullptr) << "listed without a key";
            continue;
        }
        EXPECT_TRUE(keys.insert(key).second) << "a second command on the key";
        if (entry.Command == TCommand::QuickReference) {
            continue;
        }
        ASSERT_NE(entry.ReferenceText, nullptr) << "a key missing from the quick reference";
        EXPECT_TRUE(ranks[entry.Menu].insert(entry.ReferenceRank).second)
            << "two keys in one place of the quick reference";
    }
    EXPECT_EQ(keys.size(), 29U);
}

TEST(CommandTable, MenusHaveTheirTitlesAndTheQuickReferenceTheirPlainNames) {
    EXPECT_STREQ(MenuTitle(TMenu::File), "&File");
    EXPECT_STREQ(MenuTitle(TMenu::Help), "Help");
    EXPECT_STREQ(ReferenceHeading(TMenu::Animation), "Animation");
    for (const TCommandEntry& entry : CommandTable()) {
        EXPECT_EQ(QString(MenuTitle(entry.Menu)).remove('&'), ReferenceHeading(entry.Menu));
    }
}

} // namespace
