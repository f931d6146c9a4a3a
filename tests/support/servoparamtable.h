#ifndef SERVOPARAMTABLE_H
#define SERVOPARAMTABLE_H

#include <QString>

class QStandardItem;
class ServoParamFrame;

// What a person does with the servo parameter page's tree and reads off its table.
class ServoParamTable
{
public:
    explicit ServoParamTable(ServoParamFrame *page) : m_page(page) {}

    // Ticks (or clears) the parameter's box in the tree; false if the tree has no such parameter.
    bool check(const QString &code, bool on = true) const;
    // The first row showing the parameter, for "slave/axis" when given; -1 if none.
    int row(const QString &code, const QString &slaveAxis = QString()) const;
    QStandardItem *cell(int row, int column) const;
    QString text(int row, int column) const;

private:
    ServoParamFrame *m_page;
};

#endif // SERVOPARAMTABLE_H
