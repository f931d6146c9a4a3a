#ifndef VXGROUPBOX_H
#define VXGROUPBOX_H

#include <QGroupBox>

// A QGroupBox whose title is a raw text: kept, shown translated, re-shown on a language change.
class VxGroupBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit VxGroupBox(QWidget *parent = nullptr);

    void setTitle(const QString &raw);
    QString rawText() const { return m_rawText; }

protected:
    void changeEvent(QEvent *event) override;

private:
    QString m_rawText;
};

#endif // VXGROUPBOX_H
