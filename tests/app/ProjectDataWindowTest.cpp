// The project data window on a real display: the report as the user reads it, line by line with
// its bold headings, and the window that shows it.

#include "ProjectDataWindow.h"
#include "LogTestSupport.h"
#include "OverMainWindowTest.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Every line of the list, bold ones marked with a leading "*"; a line counts as bold only when
// all of its text is.
std::vector<std::string> ShownLines(const TRichTextList& list) {
    std::vector<std::string> lines;
    for (QTextBlock block = list.document()->begin(); block.isValid(); block = block.next()) {
        bool bold = block.charFormat().fontWeight() >= QFont::Bold;
        for (auto run = block.begin(); !run.atEnd(); ++run) {
            bold = bold && run.fragment().charFormat().fontWeight() >= QFont::Bold;
        }
        lines.push_back((bold ? "*" : "") + block.text().toStdString());
    }
    return lines;
}

const std::vector<std::string> NotLoaded = {"*No 3D logfile loaded yet!"};

// A project of count decks, 2 x 1 cells each, without people.
std::string ManyDecks(int count) {
    std::string text = Header(0, 2, 1, count);
    for (int i = 0; i < count; ++i) {
        text += "<deck>\nlevel " + std::to_string(i) + "\n(celldata)\nP2x0\n</deck>\n";
    }
    return text;
}

class ProjectDataWindow : public TOverMainWindowTest {
protected:
    // Shows the report modally; once the window is up, answer checks and closes it.
    void ShowAndAnswer(const TLogFile* project, const std::function<void()>& answer) {
        bool answered = false;
        QTimer::singleShot(0, &Window, [&] {
            if (!QTest::qWaitFor([&] { return QApplication::activeModalWidget() == &Window; }) ||
                !QTest::qWaitForWindowExposed(&Window)) {
                ADD_FAILURE() << "the window did not show";
                Window.reject();
                return;
            }
            answered = true;
            answer();
        });
        Window.ShowReport(project);
        EXPECT_TRUE(answered);
    }

    TProjectDataWindow Window{&MainWindow};
};

TEST_F(ProjectDataWindow, ShowsTheReportWithBoldHeadingsAndReplacesTheNotLoadedLine) {
    Window.Fill(nullptr);
    Window.Fill(nullptr);
    EXPECT_EQ(ShownLines(Window.List), NotLoaded);

    const TLoadedProject loaded(FloorProject(3, 1, 0, {{0, 0, "S"}, {1, 1, "S"}}));
    Window.Fill(&loaded.Project);
    EXPECT_EQ(ShownLines(Window.List),
              (std::vector<std::string>{
                  " ", "*Project Size:", "\tLenght [cells]:\t\t\t3", "\tWidth [cells]:\t\t\t3",
                  "\tLevels:\t\t\t\t1", "\tAgents:\t\t\t\t2", "",
                  "*3D-Statistics:", "\tLevel 0 [cells, polygons, reduction]:\t9,\t1,\t88%"}));

    Window.Fill(nullptr);
    EXPECT_EQ(ShownLines(Window.List), NotLoaded);

    // Text from the model is never read as markup.
    TRichTextList list;
    list.AddLine("<b>a & b</b>");
    EXPECT_EQ(ShownLines(list), std::vector<std::string>{"<b>a & b</b>"});
}

TEST_F(ProjectDataWindow, IsAFixedWindowCentredOnTheMainWindowThatEnterAndOkClose) {
    EXPECT_EQ(Window.windowTitle(), "Project Data");
    EXPECT_TRUE(Window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(Window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(Window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(Window.minimumSize(), QSize(404, 381));
    EXPECT_EQ(Window.maximumSize(), QSize(404, 381));

    ShowAndAnswer(nullptr, [&] {
        EXPECT_EQ(Window.size(), QSize(404, 381));
        EXPECT_LE((Window.geometry().center() - MainWindow.geometry().center()).manhattanLength(),
                  2);
        EXPECT_EQ(Window.List.geometry().bottom() + 1, Window.ButtonStrip.geometry().top());
        EXPECT_EQ(Window.ButtonStrip.height(), 25);
        EXPECT_EQ(Window.OkButton.text(), "&Ok");
        EXPECT_FALSE(Window.OkButton.icon().isNull());
        EXPECT_EQ(Window.OkButton.mapTo(&Window, Window.OkButton.rect().topRight()).x(),
                  Window.width() - 1);
        // The text area takes the focus; Enter there still closes the window.
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        QTest::keyClick(focused, Qt::Key_Return);
    });
    EXPECT_EQ(Window.result(), QDialog::Accepted);
    EXPECT_EQ(ShownLines(Window.List), NotLoaded);

    Window.setResult(QDialog::Rejected);
    ShowAndAnswer(nullptr, [&] { QTest::mouseClick(&Window.OkButton, Qt::LeftButton); });
    EXPECT_EQ(Window.result(), QDialog::Accepted);
    EXPECT_EQ(ShownLines(Window.List), NotLoaded);
}

TEST_F(ProjectDataWindow, ALongReportCanBeScrolledAndCopiedButNotEdited) {
    const TLoadedProject loaded(ManyDecks(60));
    ShowAndAnswer(&loaded.Project, [&] {
        EXPECT_TRUE(Window.List.isEnabled());
        EXPECT_TRUE(Window.List.isReadOnly());
        QScrollBar& bar = *Window.List.verticalScrollBar();
        EXPECT_GT(bar.maximum(), 0);
        EXPECT_EQ(bar.value(), 0) << "the report should open at its top";

        Window.List.setFocus();
        QTest::keyClick(&Window.List, Qt::Key_End, Qt::ControlModifier);
        EXPECT_GT(bar.value(), 0);
        EXPECT_TRUE(Window.List.viewport()->rect().contains(Window.List.cursorRect()));
        QTest::keyClick(&Window.List, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&Window.List, "typed");
        EXPECT_TRUE(Window.List.textCursor().selectedText().endsWith(
            "\tLevel 59 [cells, polygons, reduction]:\t2,\t1,\t50%"));
        Window.accept();
    });
    const std::vector<std::string> lines = ShownLines(Window.List);
    ASSERT_EQ(lines.size(), 8U + 60U);
    EXPECT_EQ(lines[8], "\tLevel 0 [cells, polygons, reduction]:\t2,\t1,\t50%");
}

} // namespace
