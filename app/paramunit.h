#ifndef PARAMUNIT_H
#define PARAMUNIT_H

#include <QString>

// The program-wide unit table: a quantity ("torque") has several display units, selected by the
// index the device reports. Values in the base unit = values in the display unit x factor.

// Fills the table with the torque units and selects index 0 (done by the application parameter page).
void initUnitTable();
// Empties both maps (tests).
void clearUnitTable();

QString unitName(const QString &quantity);
// The display name of a given unit index; defaultUnitName() when the table has no entry for it.
QString unitName(const QString &quantity, int index);
int unitDecimals(const QString &quantity);
double unitScale(const QString &quantity);
QString defaultUnitName(const QString &quantity);
int defaultUnitDecimals(const QString &quantity);
QString unitRangeText(const QString &quantity, const QString &range);
// Returns true when the index changed; the application parameter page then emits paramUnitChanged().
bool setUnitIndex(const QString &quantity, int index);
int unitIndex(const QString &quantity);

#endif // PARAMUNIT_H
