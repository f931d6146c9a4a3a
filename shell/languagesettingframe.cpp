#include "shell/languagesettingframe.h"
#include "ui_languagesettingframe.h"

#include "data/databasemanager.h"
#include "servo/servoparamframe.h"
#include "shell/mainwindow.h"
#include "widgets/rawtext.h"

#include <QListView>

LanguageSettingFrame::LanguageSettingFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::LanguageSettingFrame)
{
    ui->setupUi(this);
    ui->comboBox->clear();
    auto raw = [](const char *source) { return RawText::make("LanguageSettingFrame", QString::fromUtf8(source)); };
    ui->comboBox->addItem(raw(QT_TRANSLATE_NOOP("LanguageSettingFrame", "Simplified Chinese")));
    ui->comboBox->addItem(raw(QT_TRANSLATE_NOOP("LanguageSettingFrame", "English")));
    ui->pushButton->setText(raw(QT_TRANSLATE_NOOP("LanguageSettingFrame", "Confirm")));
    // A view of its own so that the item rules of the style sheet apply; the combo box owns it.
    ui->comboBox->setView(new QListView);
    ui->comboBox->setCurrentIndex(1);
}

LanguageSettingFrame::~LanguageSettingFrame()
{
    delete ui;
}

void LanguageSettingFrame::on_pushButton_clicked(bool checked)
{
    Q_UNUSED(checked)
    switchLanguage(ui->comboBox->currentIndex());
}

void LanguageSettingFrame::setLanguage(int index)
{
    switchLanguage(index);
}

bool LanguageSettingFrame::switchLanguage(int index)
{
    MainWindow *window = MainWindow::instance();
    if (!window || !window->loadTranslator(index))
        return false;
    applyLanguage(index);
    return true;
}

void LanguageSettingFrame::applyLanguage(int index)
{
    if (ServoParamFrame *page = ServoParamFrame::instance()) {
        page->stopRealTimeRead();
        page->resetParamTable();
    }
    DatabaseManager::instance()->setLanguage(index);
    if (MainWindow *window = MainWindow::instance())
        window->retranslateTexts();
}
