#ifndef LANGUAGESETTINGFRAME_H
#define LANGUAGESETTINGFRAME_H

#include <QFrame>

namespace Ui { class LanguageSettingFrame; }

// The small window that switches the interface between Simplified Chinese (0) and English (1).
class LanguageSettingFrame : public QFrame
{
    Q_OBJECT
public:
    explicit LanguageSettingFrame(QWidget *parent = nullptr);
    ~LanguageSettingFrame() override;

    void setLanguage(int index);
    // The switch does not depend on which window runs it; start-up runs it without one.
    static bool switchLanguage(int index);
    static void applyLanguage(int index);

private slots:
    void on_pushButton_clicked(bool checked);

private:
    Ui::LanguageSettingFrame *ui;
};

#endif // LANGUAGESETTINGFRAME_H
