// The worksheet, printed or saved as PDF, read back as text with pdftotext.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <iterator>
#include <sstream>

#include "app/window_actions.h"
#include "calculation_fixture.h"
#include "table/frm_convergence.h"

namespace quorel {
namespace {

class Worksheet : public testing::CalculationTest {
  protected:
    QAction* entry(QWidget* form, const char* text) {
        auto* sub = qobject_cast<QMdiSubWindow*>(outerWindow(form));
        for (QAction* a : sub->systemMenu()->actions())
            if (a->text() == text) return a;
        return nullptr;
    }
    // The PDF's text, one string per page.
    std::vector<std::string> pages(const QString& pdf) {
        QProcess p;
        p.start("pdftotext", {"-layout", pdf, "-"});
        p.waitForFinished(60000);
        std::vector<std::string> out;
        for (const QString& page : QString::fromUtf8(p.readAllStandardOutput()).split('\f'))
            if (!page.trimmed().isEmpty()) out.push_back(page.toStdString());
        return out;
    }
    static bool holds(const std::vector<std::string>& pages, const std::string& text) {
        for (const std::string& p : pages)
            if (p.find(text) != std::string::npos) return true;
        return false;
    }
    QTemporaryDir dir;
};

TEST_F(Worksheet, TheTypicalRunAsSearchableTextWrittenOnlyWhenAsked) {
    calculate("X^3-3X-10", "3");
    const QString path = dir.filePath("typical.pdf");
    // Ctrl+S where the graph has the focus; cancelled, nothing is written.
    PlotSurface& pic = graph().picThree();
    pic.setFocus();
    QTest::keySequence(&pic, QKeySequence::Save);
    EXPECT_EQ(dialogs.saveDialogs, std::vector<std::string>{kSaveWorksheetCaption});
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    dialogs.saveAnswer = path.toStdString();
    QTest::keySequence(&pic, QKeySequence::Save);
    const std::vector<std::string> text = pages(path);
    ASSERT_FALSE(text.empty());
    EXPECT_TRUE(holds(text, "Input f(x)= X^3-3X-10"));
    EXPECT_TRUE(holds(text, "initial value= 3"));
    EXPECT_TRUE(holds(text, "error= 0.000001"));
    EXPECT_TRUE(holds(text, "Loops = 55"));
    // The outcome wraps at the page's width.
    EXPECT_TRUE(QString::fromStdString(text[0]).simplified().contains(graph().outcomeText()))
        << text[0];
    for (long long r = 0; r < table().rowCount(); ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_TRUE(holds(text, table().cellText(c, r))) << r << " " << c;

    // The same from the table's and the convergence window's menus.
    for (QWidget* form :
         {static_cast<QWidget*>(&table()), static_cast<QWidget*>(&main->frmConvergence())}) {
        QAction* save = entry(form, "Save worksheet as PDF...");
        ASSERT_NE(save, nullptr);
        QFile::remove(path);
        save->trigger();
        EXPECT_TRUE(holds(pages(path), "Input f(x)= X^3-3X-10"));
    }
}

TEST_F(Worksheet, PrintedThroughThePrintDialog) {
    calculate("atn(x)", "1.3");
    const QString path = dir.filePath("printed.pdf");
    QAction* print = entry(&graph(), "Print...");
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(print->shortcut(), QKeySequence(QKeySequence::Print));
    print->trigger();  // cancelled
    EXPECT_EQ(dialogs.printDialogs, 1);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    dialogs.onPrint = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    };
    print->trigger();
    const std::vector<std::string> text = pages(path);
    EXPECT_TRUE(holds(text, "Input f(x)= atn(x)"));
    EXPECT_TRUE(holds(text, table().cellText(1, table().rowCount() - 1)));
}

TEST_F(Worksheet, AThousandRowsSpanSeveralPagesWithEveryRow) {
    calculate("x^2+1", "0.5", "999");
    ASSERT_EQ(table().rowCount(), 1000);
    const QString path = dir.filePath("long.pdf");
    dialogs.saveAnswer = path.toStdString();
    entry(&graph(), "Save worksheet as PDF...")->trigger();
    const std::vector<std::string> text = pages(path);
    EXPECT_GE(text.size(), 10u);
    // Every row, in order, its four cells on a line of their own.
    std::vector<std::vector<std::string>> lines;
    for (const std::string& p : text) {
        std::istringstream page(p);
        for (std::string line; std::getline(page, line);) {
            std::istringstream words(line);
            lines.emplace_back(std::istream_iterator<std::string>(words),
                               std::istream_iterator<std::string>());
        }
    }
    std::size_t at = 0;
    for (long long r = 0; r < 1000; ++r) {
        const std::vector<std::string> row = rowTexts(r);
        while (at < lines.size() && lines[at] != row) ++at;
        ASSERT_LT(at, lines.size()) << "row " << r;
    }
    // The last page starts with the table's header again.
    EXPECT_NE(text.back().find("f'(Xi)"), std::string::npos);
}

}  // namespace
}  // namespace quorel
