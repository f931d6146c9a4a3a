#ifndef VXACTION_H
#define VXACTION_H

#include <QAction>

// A QAction whose text is a raw text. Actions are not widgets and get no LanguageChange of their
// own, so each one watches the application object, where installing or removing a translator
// announces it; the owner need not call retranslate(), but may.
class VxAction : public QAction
{
    Q_OBJECT
public:
    explicit VxAction(const QString &raw, QObject *parent = nullptr);

    void setText(const QString &raw);
    QString rawText() const { return m_rawText; }
    void retranslate();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString m_rawText;
};

#endif // VXACTION_H
