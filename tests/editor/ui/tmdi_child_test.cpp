#include "editor/ui/tmdi_child.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>

#include "core/file_io.h"
#include "editor/export_lines.h"
#include "editor/paragraph_layout.h"
#include "editor/paragraph_text.h"
#include "editor/program_file.h"
#include "editor/ui/split_bar.h"
#include "temp_folder.h"
#include "test_editor_host.h"

namespace zantor::editor {
namespace {

using Paragraphs = std::vector<std::string>;

class EditorWindowTest : public ::testing::Test {
protected:
    zantor::testing::TempFolder dir;
    testing::TestEditorHost host;
    std::unique_ptr<TMDIChild> window;

    void SetUp() override {
        window = std::make_unique<TMDIChild>(host, "NONAME1");
        window->resize(640, 480);
    }
    Paragraphs paragraphs() const {
        Paragraphs out;
        for (int n = 1; n <= window->ParagraphCount(); ++n) out.push_back(window->GetParagraph(n));
        return out;
    }
    int styleAt(EditorView* view, int line, int column) const {
        const long position = view->lineStart(line - 1) + column - 1;
        return int(view->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT,
                                       static_cast<unsigned long>(position)));
    }
    std::string styles(EditorView* view, int line) const {
        std::string out;
        const int length = int(view->lineBytes(line - 1).size());
        for (int c = 1; c <= length; ++c) out.push_back(char('0' + styleAt(view, line, c)));
        return out;
    }
};

TEST_F(EditorWindowTest, EveryByteSurvivesLoadAndSaveButNulBecomesASpace) {
    std::string line;
    for (int c = 0; c <= 255; ++c)
        if (c != '\r' && c != '\n' && c != ' ' && c != '\t') line.push_back(char(c));
    const std::string path = dir.write("BYTES.TAP", line + "\r\nM30\r\n");
    window->LoadDocument(path);
    EXPECT_EQ(paragraphs(), (Paragraphs{line, "M30"}));
    EXPECT_FALSE(window->Modified());
    EXPECT_EQ(window->ByteCount(), (long long)line.size() + 2 + 5);

    window->SaveDocument(path);
    std::string expected = line;
    expected[0] = ' ';  // the NUL
    EXPECT_EQ(readFileBytes(path), expected + "\r\nM30\r\n");
}

TEST_F(EditorWindowTest, LoadTrimsBlanksAndSaveDropsTheLastEmptyLine) {
    const std::string path = dir.write("PART.TAP", "N10 G1 X5   \nG0\t\r\n\r\n");
    window->LoadDocument(path);
    EXPECT_EQ(paragraphs(), (Paragraphs{"N10 G1 X5", "G0", ""}));
    window->SetCaret(1, 10);
    window->InsertText("\r\nM30");
    window->SaveDocument(path);
    EXPECT_EQ(readFileBytes(path), "N10 G1 X5\r\nM30\r\nG0\r\n");
    EXPECT_FALSE(window->Modified());
}

TEST_F(EditorWindowTest, BlanksTypedAtALineEndAreNotSaved) {
    window->resize(640, 480);
    window->Editor1()->replaceBytes(0, 0, "G1 X5  \nM30\t");
    const std::string path = dir.file("typed.tap");
    window->SaveDocument(path);
    EXPECT_EQ(readFileBytes(path), "G1 X5\r\nM30\r\n");
}

TEST_F(EditorWindowTest, BackupKeepsTheOldFileUnlessItIsABackupItself) {
    const std::string part = dir.write("PART.TAP", "OLD\r\n");
    window->LoadDocument(part);
    window->AppendLine("NEW");
    window->SaveDocument(part);
    EXPECT_EQ(dir.read("PART.BAK"), "OLD\r\n");
    EXPECT_EQ(dir.read("PART.TAP"), "OLD\r\nNEW\r\n");

    host.settings.backup = false;
    TMDIChild second(host, "NONAME2");
    second.InsertText("X1");
    const std::string other = dir.write("OTHER.TAP", "KEEP\r\n");
    second.SaveDocument(other);
    EXPECT_FALSE(std::filesystem::exists(dir.file("OTHER.BAK")));
}

TEST_F(EditorWindowTest, AFailedSaveThrowsTheSystemErrorAndStaysModified) {
    window->InsertText("G1");
    // A plain file where the folder should be fails for every user, root too.
    const std::string notAFolder = dir.write("plain", "x");
    try {
        window->SaveDocument(notAFolder + "/A.TAP");
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.errorNumber(), ENOTDIR);
        EXPECT_EQ(error.what(), systemErrorText(ENOTDIR));
    }
    EXPECT_TRUE(window->Modified());
    EXPECT_EQ(dir.read("plain"), "x");
}

TEST_F(EditorWindowTest, AFailedSaveToAMissingFolderStaysModified) {
    window->InsertText("G1");
    EXPECT_THROW(window->SaveDocument(dir.path() + "missing/A.TAP"), FileError);
    EXPECT_TRUE(window->Modified());
    EXPECT_EQ(paragraphs(), (Paragraphs{"G1"}));
}

TEST_F(EditorWindowTest, AFileThatCannotBeReadLeavesAnEmptyDocument) {
    window->InsertText("G1");
    EXPECT_THROW(window->LoadDocument(dir.file("missing.tap")), FileError);
    EXPECT_EQ(window->ParagraphCount(), 0);
    EXPECT_FALSE(window->Modified());
    EXPECT_FALSE(window->CanUndo());
}

TEST_F(EditorWindowTest, WordWrapBreaksDisplayLinesAtTheWrapColumn) {
    host.settings.wordWrap = true;
    host.settings.wrapColumn = 10;
    window->applyViewSettings(host.settings);
    window->InsertText("N10 G1 X1.5 Y2.5\r\nM30");
    EXPECT_EQ(window->ParagraphCount(), 2);
    EXPECT_EQ(window->LineCount(), 3);
    EXPECT_EQ(window->GetLine(1), "N10 G1 ");
    EXPECT_EQ(window->GetLine(2), "X1.5 Y2.5");
    EXPECT_EQ(window->GetLine(3), "M30");
    window->SetCaret(2, 3);
    EXPECT_EQ(window->Caret(), (TextPosition{2, 3}));
    window->InsertText("99");
    EXPECT_EQ(window->GetParagraph(1), "N10 G1 X199.5 Y2.5");
    EXPECT_EQ(window->LineCount(), 4);
    EXPECT_EQ(window->GetLine(3), "Y2.5");
    window->SetCaret(1, 1);
    window->InsertText("N5 G90 G17 G40\r\n");
    EXPECT_EQ(window->LineCount(), 6);
    EXPECT_EQ(window->GetLine(2), "G17 G40");
    window->SetWordWrap(false);
    EXPECT_EQ(window->LineCount(), 3);
}

// Where a view starts each row of a paragraph (offsets after the first row).
std::vector<int> rowStartsInView(EditorView* view, int paragraph) {
    const long start = view->lineStart(paragraph);
    const int rows = int(view->SendScintilla(QsciScintillaBase::SCI_WRAPCOUNT,
                                             static_cast<unsigned long>(paragraph)));
    const int top = int(view->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, start));
    const int height = int(view->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT,
                                               static_cast<unsigned long>(paragraph)));
    const int left =
        int(view->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, start));
    std::vector<int> starts{0};
    for (int row = 1; row < rows; ++row)
        starts.push_back(int(view->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMPOINT,
                                                 static_cast<unsigned long>(left + 1),
                                                 long(top + row * height + height / 2)) -
                             start));
    return starts;
}

// The document's display lines (what GetLine, LineCount and the status bar
// count, and what goes to a machine) are the rows the views show, coloured
// or not.
TEST_F(EditorWindowTest, AWrappedViewBreaksWhereTheDocumentBreaks) {
    host.settings.font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    host.settings.wordWrap = true;
    host.settings.wrapColumn = 20;
    host.comments = {"(", ")"};
    window->resize(700, 900);
    window->show();
    window->applyViewSettings(host.settings);
    std::vector<std::string> paragraphs = {"N10 G0 X1.5 Y2.5 (ROUGH CUT) M3 S1000",
                                           "N20 G1 Z-1.0 F100",
                                           "N30 M30",
                                           "AAA BBB CCC DDD EEE FFF GGG",
                                           "B C D E F G H I J K L M N O P Q R",
                                           "X12345678901234567890123456789 Y1",
                                           "G1  X1   Y2    Z3     (A)      B1",
                                           "N40\tG1\tX2.5 (TAB)\tY3"};
    // And lines made of NC words, comments and runs of blanks.
    std::mt19937 random(7);
    const std::vector<std::string> words = {
        "G1", "X-1.25", "(C)", "Y100.5", "M3", "(LONG COMMENT)", "S12000", "F250.", "N10", "T1"};
    for (int n = 0; n < 40; ++n) {
        std::string line;
        const int count = 2 + int(random() % 9);
        for (int w = 0; w < count; ++w)
            line += words[random() % words.size()] + std::string(1 + random() % 3, ' ');
        paragraphs.push_back(line + "E");
    }
    std::string text;
    for (const std::string& p : paragraphs) text += p + "\r\n";
    window->InsertText(text);
    window->SetCaret(1, 1);
    for (const int width : {700, 650}) {
        SCOPED_TRACE(width);
        window->resize(width, 900);
        QCoreApplication::processEvents();
        EditorView* view = window->Editor1();
        view->colourVisibleLines();
        QCoreApplication::processEvents();
        int rows = 0;
        for (size_t p = 0; p < paragraphs.size(); ++p) {
            SCOPED_TRACE(paragraphs[p]);
            const std::vector<int> shown = rowStartsInView(view, int(p));
            rows += int(shown.size());
            EXPECT_EQ(shown, displayLineStarts(paragraphs[p], LayoutSettings{true, 20, 8}));
        }
        EXPECT_EQ(window->LineCount(), rows + 1);
    }
    // Wrapped at the window's width, the same.
    host.settings.wrapToWindow = true;
    window->applyViewSettings(host.settings);
    window->resize(300, 900);
    QCoreApplication::processEvents();
    const LayoutSettings toWindow{true, window->Editor1()->visibleColumns(), 8};
    int rows = 0;
    for (size_t p = 0; p < paragraphs.size(); ++p) {
        const std::vector<int> shown = rowStartsInView(window->Editor1(), int(p));
        EXPECT_EQ(shown, displayLineStarts(paragraphs[p], toWindow)) << paragraphs[p];
        rows += int(shown.size());
    }
    EXPECT_EQ(window->LineCount(), rows + 1);
    EXPECT_GT(rows, int(paragraphs.size()));
}

// Changing the colours (another machine's comment strings) moves no row:
// the rows stay where the document breaks, and the screen shows what a full
// paint of the window shows, nothing left over from before.
TEST_F(EditorWindowTest, RecolouringAWrappedViewMovesNoRowAndLeavesNoOldOnes) {
    host.settings.font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    host.settings.wordWrap = true;
    host.settings.wrapColumn = 20;
    host.comments = {"(", ")"};
    window->resize(400, 300);
    window->show();
    window->applyViewSettings(host.settings);
    const std::vector<std::string> paragraphs = {"N10 G0 X1.5 Y2.5 (ROUGH CUT) M3 S1000 M3 (M3) X1",
                                                 "N20 M3", "X1.5(ROUGH)M3S1000Y2(A)M3",
                                                 "N30 X1 (M3 M3) Y2 M3"};
    std::string text;
    for (const std::string& p : paragraphs) text += p + "\r\n";
    window->InsertText(text);
    window->SetCaret(5, 1);
    EditorView* view = window->Editor1();
    view->SendScintilla(QsciScintillaBase::SCI_SETCARETPERIOD, 0UL);
    QCoreApplication::processEvents();
    auto screen = [this] {
        return QGuiApplication::primaryScreen()
            ->grabWindow(window->winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    for (const CommentStrings& comments : {CommentStrings{"[", "]"}, CommentStrings{"(", ")"},
                                           CommentStrings{"M", "3"}, CommentStrings{"[", "]"}}) {
        SCOPED_TRACE(comments.start);
        host.comments = comments;
        view->colourVisibleLines();
        QCoreApplication::processEvents();
        for (size_t p = 0; p < paragraphs.size(); ++p)
            EXPECT_EQ(rowStartsInView(view, int(p)),
                      displayLineStarts(paragraphs[p], LayoutSettings{true, 20, 8}))
                << paragraphs[p];
        const QImage shown = screen();
        const QImage painted = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(shown.isNull());
        EXPECT_TRUE(shown == painted);
    }
}

// Wrapping a million lines in Scintilla takes seconds, so the views wrap only
// while some paragraph is longer than the wrap column.
TEST_F(EditorWindowTest, ViewsWrapOnlyWhileAParagraphIsLongerThanTheWrapColumn) {
    const auto wrapMode = [this] {
        return window->Editor1()->SendScintilla(QsciScintillaBase::SCI_GETWRAPMODE);
    };
    host.settings.wordWrap = true;
    host.settings.wrapColumn = 10;
    window->applyViewSettings(host.settings);
    window->InsertText("N10 G1\r\nM30");
    QCoreApplication::processEvents();
    EXPECT_EQ(wrapMode(), long(QsciScintillaBase::SC_WRAP_NONE));

    // Typing into a view (not through the document operations) lengthens the line.
    window->SetCaret(1, 7);
    window->Editor1()->SendScintilla(QsciScintillaBase::SCI_ADDTEXT, 5UL, " X1.5");
    QCoreApplication::processEvents();
    EXPECT_EQ(wrapMode(), long(QsciScintillaBase::SC_WRAP_WHITESPACE));
    EXPECT_EQ(window->LineCount(), 3);

    window->UndoEdit();
    QCoreApplication::processEvents();
    EXPECT_EQ(wrapMode(), long(QsciScintillaBase::SC_WRAP_NONE));
    EXPECT_EQ(window->LineCount(), 2);
}

TEST_F(EditorWindowTest, UndoPutsTheCaretBackAndRedoAfterTheEdit) {
    window->InsertText("G1 X1\r\nM30");
    window->SetCaret(1, 3);
    window->InsertText(" G90");
    EXPECT_EQ(window->Caret(), (TextPosition{1, 7}));
    window->SetCaret(2, 1);
    window->UndoEdit();
    EXPECT_EQ(window->GetParagraph(1), "G1 X1");
    EXPECT_EQ(window->Caret(), (TextPosition{1, 3}));
    window->RedoEdit();
    EXPECT_EQ(window->GetParagraph(1), "G1 G90 X1");
    EXPECT_EQ(window->Caret(), (TextPosition{1, 7}));
}

TEST_F(EditorWindowTest, SplitViewsShareTheDocumentAndTheFocusPicksTheCurrentView) {
    window->show();
    window->InsertText("G1 X1\r\nM30");
    window->setSplit(true);
    ASSERT_TRUE(window->isSplit());
    EditorView* second = window->secondView();
    EXPECT_EQ(window->editor1Height(), 480 / 2);
    EXPECT_EQ(second->lineBytes(1), "M30");
    EXPECT_EQ(window->CurrentView(), window->Editor1());

    emit second->focused(second);
    EXPECT_EQ(window->CurrentView(), second);
    window->SetCaret(2, 4);
    window->InsertText(" (END)");
    EXPECT_EQ(window->Editor1()->lineBytes(1), "M30 (END)");
    EXPECT_EQ(second->caretPosition(), second->textLength());

    // The second view takes the window's settings as they are now.
    window->SetWordWrap(true);
    window->SetCaret(1, 1);
    window->InsertText(std::string(100, 'X') + "\r\n");
    window->setSplit(false);
    window->setSplit(true);
    EXPECT_TRUE(window->secondView()->settings().wordWrap);
    EXPECT_EQ(window->secondView()->SendScintilla(QsciScintillaBase::SCI_GETWRAPMODE),
              long(QsciScintillaBase::SC_WRAP_WHITESPACE));
    window->DeleteCaretLine();
    window->SetWordWrap(false);

    window->resize(640, 240);
    EXPECT_EQ(window->editor1Height(), 120);
    window->setSplit(false);
    EXPECT_FALSE(window->isSplit());
    EXPECT_EQ(window->CurrentView(), window->Editor1());
    EXPECT_EQ(window->Editor1()->height(), 240);
}

// Sends a mouse event to the bar at a y relative to the window.
void mouseOnBar(QEvent::Type type, SplitBar* bar, QWidget* window, int windowY) {
    const QPoint local = bar->mapFrom(window, QPoint(20, windowY));
    const QPointF global = bar->mapToGlobal(QPointF(local));
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(local), global, Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(bar, &event);
}

// However small a split window is made, neither view is left without
// height, and the split comes back as it was when the window grows again.
TEST_F(EditorWindowTest, ASplitNeverLeavesAViewWithoutHeight) {
    window->show();
    window->setSplit(true);
    for (const int h : {0, 3, 30, 60}) {
        SCOPED_TRACE(h);
        window->resize(640, h);
        if (h >= 2 + SplitBar::kHeight) {
            EXPECT_GT(window->Editor1()->height(), 0);
            EXPECT_GT(window->secondView()->height(), 0);
        }
    }
    window->resize(640, 480);
    EXPECT_EQ(window->editor1Height(), 240);
    EXPECT_EQ(window->secondView()->height(), 480 - 240 - SplitBar::kHeight);
    // Split while it has no height: it halves once it has.
    TMDIChild flat(host, "NONAME2");
    flat.show();
    flat.resize(640, 0);
    flat.setSplit(true);
    flat.resize(640, 400);
    EXPECT_EQ(flat.Editor1()->height(), 200);
    EXPECT_EQ(flat.secondView()->height(), 195);
}

TEST_F(EditorWindowTest, DraggingTheBarMovesItWherePointerWent) {
    window->show();
    window->setSplit(true);
    auto* bar = window->findChild<SplitBar*>();
    ASSERT_TRUE(bar);
    const int barY = bar->geometry().center().y();
    EXPECT_EQ(window->editor1Height(), 240);

    // A click without a drag changes nothing.
    mouseOnBar(QEvent::MouseButtonPress, bar, window.get(), barY);
    mouseOnBar(QEvent::MouseButtonRelease, bar, window.get(), barY);
    EXPECT_EQ(window->editor1Height(), 240);

    // Up by 40: the lower view grows by 40.
    mouseOnBar(QEvent::MouseButtonPress, bar, window.get(), barY);
    mouseOnBar(QEvent::MouseMove, bar, window.get(), barY - 40);
    auto* line = window->findChild<QWidget*>("SplitLine");
    ASSERT_TRUE(line);
    EXPECT_TRUE(line->isVisible());
    EXPECT_EQ(line->geometry(), QRect(0, barY - 40, 640, 1));
    mouseOnBar(QEvent::MouseButtonRelease, bar, window.get(), barY - 40);
    EXPECT_FALSE(line->isVisible());
    EXPECT_EQ(window->editor1Height(), 280);
    EXPECT_EQ(window->Editor1()->geometry(), QRect(0, 200, 640, 280));
    EXPECT_EQ(window->secondView()->geometry(), QRect(0, 0, 640, 195));

    // Too close to the window's edge no line is drawn, so the last one counts.
    const int newBarY = bar->geometry().center().y();
    mouseOnBar(QEvent::MouseButtonPress, bar, window.get(), newBarY);
    mouseOnBar(QEvent::MouseMove, bar, window.get(), newBarY + 30);
    mouseOnBar(QEvent::MouseMove, bar, window.get(), 478);
    mouseOnBar(QEvent::MouseButtonRelease, bar, window.get(), 478);
    EXPECT_EQ(window->editor1Height(), 250);
}

TEST_F(EditorWindowTest, WrapToWindowFollowsTheWidthOfTheView) {
    host.settings.wordWrap = true;
    host.settings.wrapToWindow = true;
    window->show();
    window->applyViewSettings(host.settings);
    std::string paragraph;
    for (int i = 0; i < 60; ++i) paragraph += "X1.5 ";
    window->InsertText(paragraph);
    auto expectedLines = [&] {
        LayoutSettings layout{true, window->Editor1()->visibleColumns(), 8};
        return displayLineCount(withoutTrailingBlanks(paragraph), layout);
    };
    const int wide = window->LineCount();
    EXPECT_EQ(wide, expectedLines());
    EXPECT_GT(wide, 1);
    window->resize(320, 480);
    EXPECT_EQ(window->LineCount(), expectedLines());
    EXPECT_GT(window->LineCount(), wide);
}

TEST_F(EditorWindowTest, TheSecondViewTurnsLowControlCharactersIntoSpacesOnCopy) {
    window->InsertText(
        std::string("A\tB\x12"
                    "C\x01",
                    6));
    window->setSplit(true);
    window->SelectAll();
    window->CopySelection();
    EXPECT_EQ(QApplication::clipboard()->text().toLatin1(), QByteArray("A\tB\x12"
                                                                       "C\x01",
                                                                       6));
    emit window->secondView()->focused(window->secondView());
    window->SelectAll();
    window->CopySelection();
    EXPECT_EQ(QApplication::clipboard()->text().toLatin1(), QByteArray("A B\x12"
                                                                       "C ",
                                                                       6));
}

TEST_F(EditorWindowTest, PasteKeepsHighBytesAndMakesLineEndsParagraphs) {
    QApplication::clipboard()->setText(QString::fromLatin1("X\xB0\xFF\r\nY2"));
    window->PasteClipboard();
    EXPECT_EQ(paragraphs(), (Paragraphs{"X\xB0\xFF", "Y2"}));
    window->UndoEdit();
    EXPECT_EQ(window->ParagraphCount(), 0);
}

void pressKey(QWidget* view, Qt::Key key, const QString& text = {},
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(view, &press);
}

TEST_F(EditorWindowTest, PastedLinesAreTrimmedAndKeptWithinTheParagraphLimit) {
    window->InsertText("N1\r\nN2");
    window->SetCaret(1, 3);
    // A listing copied with blanks padding its lines, by the menu and by key.
    QApplication::clipboard()->setText(" G1   \nX5\t ");
    window->PasteClipboard();
    EXPECT_EQ(paragraphs(), (Paragraphs{"N1 G1", "X5", "N2"}));
    EXPECT_EQ(window->Caret(), (TextPosition{2, 3}));
    pressKey(window->Editor1(), Qt::Key_V, {}, Qt::ControlModifier);
    EXPECT_EQ(paragraphs(), (Paragraphs{"N1 G1", "X5 G1", "X5", "N2"}));
    EXPECT_EQ(window->ByteCount(), 5 + 2 + 5 + 2 + 2 + 2 + 2 + 2);
    window->UndoEdit();
    EXPECT_EQ(paragraphs(), (Paragraphs{"N1 G1", "X5", "N2"}));

    QApplication::clipboard()->setText(QString(kMaxParagraphLength, 'X'));
    pressKey(window->Editor1(), Qt::Key_V, {}, Qt::ControlModifier);
    EXPECT_EQ(paragraphs(), (Paragraphs{"N1 G1", "X5", "N2"}));
    EXPECT_EQ(host.ui.texts(), std::vector<std::string>{kParagraphTooLong});
}

TEST_F(EditorWindowTest, TheInsertKeySwitchesTheModeOfTheWholeDocument) {
    window->show();
    window->InsertText("G1 X1");
    window->setSplit(true);
    EditorView* second = window->secondView();
    emit second->focused(second);
    pressKey(second, Qt::Key_Insert);
    EXPECT_FALSE(window->InsertMode());
    emit window->Editor1()->focused(window->Editor1());
    EXPECT_FALSE(window->InsertMode());
    window->SetCaret(1, 1);
    window->InsertText("G2");
    EXPECT_EQ(window->GetParagraph(1), "G2 X1");
    // A view made later takes the window's mode too.
    window->setSplit(false);
    window->setSplit(true);
    EXPECT_TRUE(window->secondView()->overwriteMode());
    pressKey(window->Editor1(), Qt::Key_Insert);
    EXPECT_TRUE(window->InsertMode());
    EXPECT_FALSE(window->secondView()->overwriteMode());
}

// Every way a key changes the text goes through the paragraph limit: an
// edit that would join two long paragraphs beyond it is taken back whole,
// the user is told, and neither undo nor redo brings it back.
TEST_F(EditorWindowTest, KeysThatWouldJoinParagraphsBeyondTheLimitChangeNothing) {
    const std::string a(20000, 'A'), b(20000, 'B');
    const std::string path = dir.write("LONG.TAP", a + "\r\n" + b + "\r\nM30\r\n");
    struct Case {
        const char* what;
        TextPosition caret;
        std::optional<TextPosition> selectTo;
        std::function<void(TMDIChild&)> run;
    };
    auto key = [](Qt::Key k, const QString& text = {}, Qt::KeyboardModifiers m = Qt::NoModifier) {
        return [=](TMDIChild& w) { pressKey(w.CurrentView(), k, text, m); };
    };
    const Case cases[] = {
        {"Delete at the end of a line", {1, 20001}, {}, key(Qt::Key_Delete)},
        {"Backspace at the start of a line", {2, 1}, {}, key(Qt::Key_Backspace)},
        {"Ctrl+Backspace at the start of a line",
         {2, 1},
         {},
         key(Qt::Key_Backspace, {}, Qt::ControlModifier)},
        {"Ctrl+X over a line end",
         {1, 20000},
         TextPosition{2, 2},
         key(Qt::Key_X, {}, Qt::ControlModifier)},
        {"Shift+Delete over a line end",
         {1, 20000},
         TextPosition{2, 2},
         key(Qt::Key_Delete, {}, Qt::ShiftModifier)},
        {"typing over a line end", {1, 20000}, TextPosition{2, 2}, key(Qt::Key_X, "X")},
        {"Backspace over a line end", {1, 20000}, TextPosition{2, 2}, key(Qt::Key_Backspace)},
        {"the Delete command at the end of a line",
         {1, 20001},
         {},
         [](TMDIChild& w) { w.DeleteForward(); }},
        {"the Cut command over a line end",
         {1, 20000},
         TextPosition{2, 2},
         [](TMDIChild& w) { w.CutSelection(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMDIChild fresh(host, path);
        fresh.show();
        fresh.LoadDocument(path);
        host.ui.messages.clear();
        if (c.selectTo)
            fresh.SetSelection(c.caret, *c.selectTo);
        else
            fresh.SetCaret(c.caret.line, c.caret.column);
        c.run(fresh);
        EXPECT_EQ(host.ui.texts(), std::vector<std::string>{kParagraphTooLong});
        // The caret and selection stay where they were.
        if (c.selectTo)
            EXPECT_EQ(fresh.GetSelection(), (TextSelection{true, c.caret, *c.selectTo}));
        else
            EXPECT_EQ(fresh.Caret(), c.caret);
        ASSERT_EQ(fresh.ParagraphCount(), 3);
        EXPECT_EQ(fresh.GetParagraph(1), a);
        EXPECT_EQ(fresh.GetParagraph(2), b);
        EXPECT_FALSE(fresh.Modified());
        fresh.RedoEdit();
        fresh.UndoEdit();
        EXPECT_EQ(fresh.ParagraphCount(), 3);
        EXPECT_EQ(fresh.GetParagraph(1), a);
    }
    // Within the limit the same keys work, and a character typed at the end
    // of a full paragraph is refused.
    TMDIChild fresh(host, path);
    fresh.show();
    fresh.InsertText(std::string(kMaxParagraphLength - 1, 'X') + "\r\nY");
    host.ui.messages.clear();
    fresh.SetCaret(2, 1);
    pressKey(fresh.Editor1(), Qt::Key_Backspace);
    EXPECT_EQ(fresh.ParagraphCount(), 1);
    EXPECT_EQ(fresh.GetParagraph(1).size(), size_t(kMaxParagraphLength));
    EXPECT_TRUE(host.ui.messages.empty());
    fresh.SetCaret(1, kMaxParagraphLength + 1);
    pressKey(fresh.Editor1(), Qt::Key_Z, "Z");
    EXPECT_EQ(fresh.GetParagraph(1).size(), size_t(kMaxParagraphLength));
    EXPECT_EQ(host.ui.texts(), std::vector<std::string>{kParagraphTooLong});
}

// A blank typed before the next word stays while the caret is on its line;
// the document operations never see blanks at a line's end, and they leave
// the text when the caret leaves the line.
TEST_F(EditorWindowTest, BlanksTypedAtALineEndGoWhenTheCaretLeavesTheLine) {
    window->show();
    window->InsertText("N1\r\nN2");
    window->SetCaret(1, 3);
    EditorView* view = window->Editor1();
    view->setFocus();
    for (const char c : std::string(" G1  ")) pressKey(view, Qt::Key(c), QString(QChar(c)));
    QCoreApplication::processEvents();
    EXPECT_EQ(window->GetParagraph(1), "N1 G1");
    EXPECT_EQ(window->GetLine(1), "N1 G1");
    EXPECT_EQ(window->ByteCount(), 5 + 2 + 2 + 2);
    EXPECT_EQ(view->lineBytes(0), "N1 G1  ");  // still there to type after
    pressKey(view, Qt::Key_X, "X");
    EXPECT_EQ(window->GetParagraph(1), "N1 G1  X");
    pressKey(view, Qt::Key_Space, " ");
    pressKey(view, Qt::Key_Down);
    QCoreApplication::processEvents();
    EXPECT_EQ(view->lineBytes(0), "N1 G1  X");
    EXPECT_EQ(window->ByteCount(), 8 + 2 + 2 + 2);
    // Undo takes the typing back with the blank, redo brings it without.
    window->UndoEdit();
    EXPECT_EQ(view->lineBytes(0), "N1");
    window->RedoEdit();
    EXPECT_EQ(view->lineBytes(0), "N1 G1  X");
    EXPECT_FALSE(window->CanRedo());

    // A command that works on the document takes the caret line's blanks too.
    window->SetCaret(2, 3);
    pressKey(view, Qt::Key_Space, " ");
    pressKey(view, Qt::Key_Tab, "\t");
    EXPECT_EQ(window->GetLine(2), "N2");
    const std::string work = dir.file("WORK.TMP");
    ASSERT_TRUE(ExportLines(*window, ExportMode::AllLines, work).success);
    EXPECT_EQ(readFileBytes(work), "N1 G1  X\r\nN2\r\n");
    window->SetCaret(2, 1);
    EXPECT_EQ(view->lineBytes(1), "N2");
}

TEST_F(EditorWindowTest, TabAndEnterFollowTheTabTypeAndAutoIndent) {
    struct Case {
        int tabType;
        bool autoIndent;
        std::string expected;
    };
    // The line above has words starting at columns 1, 4 and 10.
    const Case cases[] = {
        {1, false, "X1\t"},
        {0, false, "X1      "},
        {2, false, "X1 "},
        {1, true, "  X1\t"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tabType);
        TMDIChild fresh(host, "NONAME9");
        host.settings.tabType = c.tabType;
        host.settings.autoIndent = c.autoIndent;
        fresh.applyViewSettings(host.settings);
        fresh.show();
        EditorView* view = fresh.Editor1();
        view->setFocus();
        view->replaceBytes(0, 0, c.autoIndent ? "  G1 G90" : "G1 G90   Z5");
        view->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
        pressKey(view, Qt::Key_Return, "\r");
        pressKey(view, Qt::Key_X, "X");
        pressKey(view, Qt::Key_1, "1");
        pressKey(view, Qt::Key_Tab, "\t");
        pressKey(view, Qt::Key_Y, "Y");
        EXPECT_EQ(std::string(view->lineBytes(1)), c.expected + "Y");
        EXPECT_TRUE(fresh.Modified());
    }
}

TEST(SyntaxColouring, ClassifiesByTheRule) {
    const CommentStrings parens{"(", ")"};
    auto classes = [&](std::string_view text, const CommentStrings& comments) {
        std::string out;
        for (const SyntaxClass c : classifyVisibleLine(text, comments))
            out.push_back(char('0' + int(c)));
        return out;
    };
    // 1 Alpha, 2 Non-Alpha, 3 Comment.
    EXPECT_EQ(classes("N1 G0 X1.5 (ROUGH)", parens), "121121122213333333");
    EXPECT_EQ(classes("X1.5 (A", parens), "1222133");
    EXPECT_EQ(classes("X1.5 )", parens), "122211");
    EXPECT_EQ(classes("+-.09", parens), "22222");
    EXPECT_EQ(classes("G1(A)B(C", parens), "12333133");
    // Longer strings switch on their first character where they occur at all.
    const CommentStrings words{"/*", "*/"};
    EXPECT_EQ(classes("X1 /* A */ Y2", words), "1213311113333");
    EXPECT_EQ(classes("X1 / Y2", words), "1211112");
    EXPECT_EQ(classes("", parens), "");
}

TEST_F(EditorWindowTest, ColoursTheShownLinesButNotTheSelectedOnes) {
    window->show();
    window->InsertText("N1 G0 X1.5 (ROUGH)\r\nX1.5 (A\r\nX1.5 )\r\nG1");
    EditorView* view = window->Editor1();
    view->colourVisibleLines();
    EXPECT_EQ(styles(view, 1), "121121122213333333");
    EXPECT_EQ(styles(view, 2), "1222133");
    EXPECT_EQ(styles(view, 3), "122211");

    window->SetSelection({2, 2}, {3, 2});
    view->colourVisibleLines();
    EXPECT_EQ(styles(view, 1), "121121122213333333");
    EXPECT_EQ(styles(view, 2), "0000000");
    EXPECT_EQ(styles(view, 3), "000000");
    EXPECT_EQ(styles(view, 4), "12");

    // The comment strings are read at every paint.
    window->SetCaret(1, 1);
    host.comments = {"[", "]"};
    view->colourVisibleLines();
    EXPECT_EQ(styles(view, 1), "121121122211111111");

    host.settings.showSyntax = false;
    window->applyViewSettings(host.settings);
    EXPECT_EQ(styles(view, 1), std::string(18, '0'));
}

TEST_F(EditorWindowTest, EachViewOfASplitKeepsItsOwnColouring) {
    window->show();
    window->InsertText("N1 G0\r\nX1.5 (A)\r\nM30");
    window->setSplit(true);
    EditorView* first = window->Editor1();
    EditorView* second = window->secondView();
    first->colourVisibleLines();
    emit second->focused(second);
    window->SetSelection({1, 1}, {2, 2});
    second->colourVisibleLines();
    // Style = class in the first view + 4 * class in the second.
    auto inView = [&](int slot, int line) {
        std::string out;
        for (const char style : styles(first, line))
            out.push_back(char('0' + (slot == 0 ? (style - '0') % 4 : (style - '0') / 4)));
        return out;
    };
    EXPECT_EQ(inView(0, 1), "12112");
    EXPECT_EQ(inView(0, 2), "12221333");
    EXPECT_EQ(inView(1, 1), "00000");
    EXPECT_EQ(inView(1, 2), "00000000");
    EXPECT_EQ(inView(1, 3), "122");
    EXPECT_EQ(inView(0, 3), "122");
    // The second view's colours come from its share of the style.
    EXPECT_EQ(second->SendScintilla(QsciScintillaBase::SCI_STYLEGETFORE, 1 + 4 * 3),
              first->SendScintilla(QsciScintillaBase::SCI_STYLEGETFORE, 3));
    EXPECT_EQ(first->SendScintilla(QsciScintillaBase::SCI_STYLEGETFORE, 1 + 4 * 3),
              first->SendScintilla(QsciScintillaBase::SCI_STYLEGETFORE, 1));
}

TEST_F(EditorWindowTest, ColoursFromTheHorizontalScrollOffset) {
    window->show();
    window->InsertText(std::string(100, ' ') + "X1.5 (ROUGH) Y2" + "\r\nG1");
    EditorView* view = window->Editor1();
    const int width = int(view->SendScintilla(QsciScintillaBase::SCI_TEXTWIDTH,
                                              QsciScintillaBase::STYLE_DEFAULT, "0"));
    // Scrolled so that the line shows from "ROUGH": the opening parenthesis
    // is out of sight, so nothing is a comment there.
    view->SendScintilla(QsciScintillaBase::SCI_SETXOFFSET, 106 * width);
    view->colourVisibleLines();
    const std::string line = styles(view, 1);
    EXPECT_EQ(line.substr(0, 106), std::string(106, '0'));
    EXPECT_EQ(line.substr(106), "111111112");
}

TEST_F(EditorWindowTest, ColoursOnlyWhatIsShown) {
    window->show();
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "X1 (C)\r\n";
    window->InsertText(text);
    window->SetCaret(1, 1);
    window->Editor1()->colourVisibleLines();
    EXPECT_EQ(styles(window->Editor1(), 1), "121333");
    EXPECT_EQ(styles(window->Editor1(), 1900), "000000");
}

}  // namespace
}  // namespace zantor::editor

namespace zantor::editor {
namespace {

TEST_F(EditorWindowTest, WordStarKeysDeleteLikeTheirDefaultKeysAndUndo) {
    struct Case {
        Qt::Key key;
        TextPosition caret;
        Paragraphs expected;
    };
    const Paragraphs text{"N10 G1 X5", "N20 G2", "N30"};
    const Case cases[] = {
        {Qt::Key_G, {1, 1}, {"10 G1 X5", "N20 G2", "N30"}},
        {Qt::Key_H, {1, 2}, {"10 G1 X5", "N20 G2", "N30"}},
        {Qt::Key_H, {2, 1}, {"N10 G1 X5N20 G2", "N30"}},
        {Qt::Key_T, {1, 1}, {"G1 X5", "N20 G2", "N30"}},
        {Qt::Key_Y, {2, 3}, {"N10 G1 X5", "N30"}},
    };
    host.settings.wordStar = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key).toString().toStdString());
        TMDIChild fresh(host, "NONAME9");
        fresh.applyViewSettings(host.settings);
        fresh.show();
        fresh.InsertText("N10 G1 X5\r\nN20 G2\r\nN30");
        fresh.SetCaret(c.caret.line, c.caret.column);
        pressKey(fresh.Editor1(), c.key, {}, Qt::ControlModifier);
        EXPECT_EQ(
            [&] {
                Paragraphs out;
                for (int n = 1; n <= fresh.ParagraphCount(); ++n)
                    out.push_back(fresh.GetParagraph(n));
                return out;
            }(),
            c.expected);
        fresh.UndoEdit();
        ASSERT_EQ(fresh.ParagraphCount(), 3);
        for (int n = 1; n <= 3; ++n) EXPECT_EQ(fresh.GetParagraph(n), text[size_t(n - 1)]);
    }
    // A read-only window keeps its text.
    TMDIChild viewer(host, "NONAME9");
    viewer.applyViewSettings(host.settings);
    viewer.show();
    viewer.InsertText("N10");
    viewer.Editor1()->setReadOnly(true);
    viewer.SetCaret(1, 1);
    pressKey(viewer.Editor1(), Qt::Key_G, {}, Qt::ControlModifier);
    EXPECT_EQ(viewer.GetParagraph(1), "N10");
}

TEST_F(EditorWindowTest, AltWithALetterIsLeftToTheMenusAndTypesNothing) {
    window->InsertText("N1");
    EditorView* view = window->Editor1();
    QKeyEvent overrideAltF(QEvent::ShortcutOverride, Qt::Key_F, Qt::AltModifier, "f");
    QApplication::sendEvent(view, &overrideAltF);
    EXPECT_FALSE(overrideAltF.isAccepted());  // the menu's mnemonic goes ahead
    pressKey(view, Qt::Key_F, "f", Qt::AltModifier);
    EXPECT_EQ(paragraphs(), (Paragraphs{"N1"}));
    // AltGr (Ctrl+Alt) characters are still typed.
    pressKey(view, Qt::Key_At, "@", Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(paragraphs(), (Paragraphs{"N1@"}));
}

}  // namespace
}  // namespace zantor::editor
