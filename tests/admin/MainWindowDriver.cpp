#include "MainWindowDriver.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace orvan::test {

void PickEntry(QComboBox* combo, const QString& text) {
    ASSERT_NE(combo, nullptr);
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void TypeAndEnter(QComboBox* combo, const QString& text) {
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(-1);
    combo->lineEdit()->setText(text);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
}

void ClickButton(QWidget* window, const char* name) {
    auto* button = window->findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

void SetBoxText(QWidget* window, const char* name, const QString& text) {
    auto* box = window->findChild<QLineEdit*>(QString::fromLatin1(name));
    ASSERT_NE(box, nullptr) << name;
    box->setText(text);
}

QString BoxText(QWidget* window, const char* name) {
    auto* box = window->findChild<QLineEdit*>(QString::fromLatin1(name));
    return box != nullptr ? box->text() : QStringLiteral("<none>");
}

void ClickTab(QWidget* window, int index) {
    auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("TabStrip"));
    ASSERT_NE(tabs, nullptr);
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
}

QString StatusText(QWidget* window) {
    auto* panel = window->findChild<QLabel*>(QStringLiteral("StatusPanel2"));
    return panel != nullptr ? panel->text() : QStringLiteral("<none>");
}

} // namespace orvan::test
