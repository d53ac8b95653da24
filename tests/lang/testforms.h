#pragma once

// A form with one control of each translated kind, bound to a manager.

#include "lang/langcomponent.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

namespace pellix::test {

template <class T>
T* Named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

class TFrmTest : public QWidget {
    Q_OBJECT
public:
    explicit TFrmTest(const char* name = "FrmTest") {
        setObjectName(QString::fromLatin1(name));
        setWindowTitle(QStringLiteral("Test Form"));
        setToolTip(QStringLiteral("The form"));
        auto* layout = new QVBoxLayout(this);
        MainMenu1 = Named(new QMenuBar(this), "MainMenu1");
        layout->setMenuBar(MainMenu1);
        mnFile = Named(MainMenu1->addMenu(QStringLiteral("&File")), "mnFile");
        acOpen = Named(mnFile->addAction(QStringLiteral("&Open")), "acOpen");
        acOpen->setToolTip(QStringLiteral("Opens a file"));
        acQuit = Named(mnFile->addAction(QStringLiteral("&Quit")), "acQuit");
        mnHelp = Named(MainMenu1->addMenu(QStringLiteral("&Help")), "mnHelp");

        lbName = Named(new QLabel(QStringLiteral("Name:"), this), "lbName");
        lbName->setToolTip(QStringLiteral("Your name"));
        bnOk = Named(new QPushButton(QStringLiteral("OK"), this), "bnOk");
        tbTool = Named(new QToolButton(this), "tbTool");
        tbTool->setText(QStringLiteral("Tool"));
        cbChoice = Named(new QComboBox(this), "cbChoice");
        cbChoice->addItems({"one", "two", "three", "four", "five"});
        cbChoice->setCurrentIndex(4);
        lwList = Named(new QListWidget(this), "lwList");
        lwList->addItems({"red", "green"});
        lwList->setCurrentRow(1);
        edName = Named(new QLineEdit(QStringLiteral("typed"), this), "edName");
        edName->setToolTip(QStringLiteral("Type here"));
        edDate = Named(new QLineEdit(this), "edDate");
        edDate->setInputMask(QStringLiteral("99.99.9999"));
        edDate->setText(QStringLiteral("01.02.2003"));
        mmNotes = Named(new QPlainTextEdit(QStringLiteral("note 1\nnote 2"), this), "mmNotes");
        mmNotes->setToolTip(QStringLiteral("Notes"));
        reText = Named(new QTextEdit(this), "reText");
        reText->setPlainText(QStringLiteral("line 1\nline 2\nline 3\nline 4\nline 5"));
        chSound = Named(new QCheckBox(QStringLiteral("Sound"), this), "chSound");
        rbFast = Named(new QRadioButton(QStringLiteral("Fast"), this), "rbFast");
        gbBox = Named(new QGroupBox(QStringLiteral("Options"), this), "gbBox");
        lbInner = Named(new QLabel(QStringLiteral("Inner"), gbBox), "lbInner");
        pnPanel = Named(new QFrame(this), "pnPanel");
        pnPanel->setToolTip(QStringLiteral("A panel"));
        pcMain = Named(new QTabWidget(this), "pcMain");
        tsOne = Named(new QWidget, "tsOne");
        tsTwo = Named(new QWidget, "tsTwo");
        pcMain->addTab(tsOne, QStringLiteral("First"));
        pcMain->addTab(tsTwo, QStringLiteral("Second"));
        pcMain->setTabToolTip(0, QStringLiteral("The first page"));
        lbPage = Named(new QLabel(QStringLiteral("On page"), tsOne), "lbPage");
        sgGrid = Named(new QTableWidget(2, 2, this), "sgGrid");
        sgGrid->setToolTip(QStringLiteral("A grid"));
        auto* unnamed = new QWidget(this);
        lbOrphan = Named(new QLabel(QStringLiteral("\"Orphan\""), unnamed), "lbOrphan");
        for (QWidget* w : std::initializer_list<QWidget*>{
                 lbName, bnOk, tbTool, cbChoice, lwList, edName, edDate, mmNotes, reText, chSound,
                 rbFast, gbBox, pnPanel, pcMain, sgGrid, unnamed}) {
            layout->addWidget(w);
        }
        Lang = Named(new TLangComponent(this), "LangComponent1");
    }

    QMenuBar* MainMenu1;
    QMenu* mnFile;
    QAction* acOpen;
    QAction* acQuit;
    QMenu* mnHelp;
    QLabel* lbName;
    QPushButton* bnOk;
    QToolButton* tbTool;
    QComboBox* cbChoice;
    QListWidget* lwList;
    QLineEdit* edName;
    QLineEdit* edDate;
    QPlainTextEdit* mmNotes;
    QTextEdit* reText;
    QCheckBox* chSound;
    QRadioButton* rbFast;
    QGroupBox* gbBox;
    QLabel* lbInner;
    QFrame* pnPanel;
    QTabWidget* pcMain;
    QWidget* tsOne;
    QWidget* tsTwo;
    QLabel* lbPage;
    QTableWidget* sgGrid;
    QLabel* lbOrphan;
    TLangComponent* Lang;
};

} // namespace pellix::test
