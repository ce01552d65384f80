#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

#include "reports/CDocLauncher.h"
#include "reports/QtDocumentShell.h"
#include "ReportTestSupport.h"

namespace orvan::test {
namespace {

class DocLauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_document = (m_dir / "report.txt").string();
        WriteAll(m_document, "Employee Phone Book\r\n\tTabbed\tcolumns\r\n");
    }

    TempDir m_dir;
    std::string m_document;
    QWidget m_parent;
    ScopedDocumentShell m_shell;
};

TEST_F(DocLauncherTest, NoParentGives911BeforeAnythingElse) {
    CDocLauncher launcher;
    EXPECT_FALSE(launcher.PrintDocument(nullptr, ""));
    EXPECT_EQ(launcher.ErrorNumber(), 911);
    EXPECT_FALSE(launcher.DisplayDocument(nullptr, m_document));
    EXPECT_EQ(launcher.ErrorNumber(), 911);
    EXPECT_TRUE(m_shell->requests.empty());
}

TEST_F(DocLauncherTest, EmptyNameGives901) {
    CDocLauncher launcher;
    EXPECT_FALSE(launcher.DisplayDocument(&m_parent, ""));
    EXPECT_EQ(launcher.ErrorNumber(), 901);
    EXPECT_FALSE(launcher.PrintDocument(&m_parent, ""));
    EXPECT_EQ(launcher.ErrorNumber(), 901);
    EXPECT_TRUE(m_shell->requests.empty());
}

TEST_F(DocLauncherTest, OpenAndPrintHandTheVerbAndShowCommandToTheShell) {
    CDocLauncher launcher;
    EXPECT_TRUE(launcher.DisplayDocument(&m_parent, m_document));
    EXPECT_TRUE(launcher.PrintDocument(&m_parent, m_document));
    EXPECT_EQ(launcher.ErrorNumber(), 0);
    EXPECT_EQ(launcher.DocumentName(), m_document);
    EXPECT_EQ(launcher.ParentWindow(), &m_parent);
    ASSERT_EQ(m_shell->requests.size(), 2u);
    EXPECT_EQ(m_shell->requests[0].verb, "open");
    EXPECT_EQ(m_shell->requests[0].showCommand, 10);
    EXPECT_EQ(m_shell->requests[1].verb, "print");
    EXPECT_EQ(m_shell->requests[1].showCommand, 0);
    EXPECT_EQ(m_shell->requests[1].parent, &m_parent);
    EXPECT_EQ(m_shell->requests[1].document, m_document);
}

TEST_F(DocLauncherTest, FileNotFoundGives902OtherFailuresKeepTheNumber) {
    CDocLauncher launcher;
    EXPECT_FALSE(launcher.PrintDocument(&m_parent, (m_dir / "missing.txt").string()));
    EXPECT_EQ(launcher.ErrorNumber(), 902);

    CDocLauncher other;
    EXPECT_FALSE(other.PrintDocument(&m_parent, ""));
    m_shell->answer = ShellNoAssociation;
    EXPECT_FALSE(other.PrintDocument(&m_parent, m_document));
    EXPECT_EQ(other.ErrorNumber(), 901);
    m_shell->answer = 32; // only values above 32 are success
    EXPECT_FALSE(other.DisplayDocument(&m_parent, m_document));
    m_shell->answer = 33;
    EXPECT_TRUE(other.DisplayDocument(&m_parent, m_document));
}

// The desktop shell with the printer replaced: none, or a PDF file.
class TestShell : public QtDocumentShell {
public:
    explicit TestShell(std::string pdf = "") : m_pdf(std::move(pdf)) {}

protected:
    std::unique_ptr<QPrinter> DefaultPrinter() override {
        if (m_pdf.empty()) {
            return nullptr;
        }
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(m_pdf));
        return printer;
    }

private:
    std::string m_pdf;
};

TEST_F(DocLauncherTest, DesktopShellFailsToPrintWithoutAPrinter) {
    SetDocumentShell(std::make_shared<TestShell>());
    CDocLauncher launcher;
    EXPECT_FALSE(launcher.PrintDocument(&m_parent, m_document));
    EXPECT_EQ(launcher.ErrorNumber(), 0);
}

TEST_F(DocLauncherTest, DesktopShellOnAMachineWithoutPrintersFails) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) {
        GTEST_SKIP() << "this machine has a printer; nothing is printed for real";
    }
    SetDocumentShell(nullptr);
    CDocLauncher launcher;
    EXPECT_FALSE(launcher.PrintDocument(&m_parent, m_document));
    EXPECT_EQ(launcher.ErrorNumber(), 0);
}

TEST_F(DocLauncherTest, DesktopShellReportsAMissingFileAsNotFound) {
    SetDocumentShell(std::make_shared<TestShell>());
    CDocLauncher launcher;
    EXPECT_FALSE(launcher.DisplayDocument(&m_parent, (m_dir / "missing.doc").string()));
    EXPECT_EQ(launcher.ErrorNumber(), 902);
    EXPECT_FALSE(launcher.PrintDocument(&m_parent, m_dir.Path().string()));
    EXPECT_EQ(launcher.ErrorNumber(), 902);
}

TEST_F(DocLauncherTest, DesktopShellPrintsTheTextOnThePrinter) {
    const std::string pdf = (m_dir / "printed.pdf").string();
    SetDocumentShell(std::make_shared<TestShell>(pdf));
    CDocLauncher launcher;
    EXPECT_TRUE(launcher.PrintDocument(&m_parent, m_document));
    EXPECT_EQ(launcher.ErrorNumber(), 0);
    const std::string bytes = ReadAll(pdf);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
}

} // namespace
} // namespace orvan::test
