#include "widgets/customitemdelegate.h"

#include "widgets/prompt.h"

#include <QComboBox>
#include <QDebug>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace {
const QString MinKey = QStringLiteral("minVal");
const QString MaxKey = QStringLiteral("maxVal");
const QString DecimalsKey = QStringLiteral("decimals");
const QString OnlyNumberKey = QStringLiteral("onlyNumber");
const QString TextListKey = QStringLiteral("textList");
const QString CurrentIndexKey = QStringLiteral("currentIndex");

QVariantMap lineEditConfigOf(const QModelIndex &index)
{
    return index.data(CustomItemDelegate::LineEditConfigRole).toMap();
}

QVariantMap comboConfigOf(const QModelIndex &index)
{
    return index.data(CustomItemDelegate::ComboConfigRole).toMap();
}

// Reads one of the accepted number forms; false when the text is none of them.
bool parseNumber(const QString &text, bool prefixedAllowed, double *value, int *decimals)
{
    static const QRegularExpression plain(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    static const QRegularExpression prefixed(QStringLiteral("^(?:0[xX]|(16|8|2)#)([0-9A-Fa-f]+)$"));

    if (plain.match(text).hasMatch()) {
        const int dot = text.indexOf(QLatin1Char('.'));
        QString fraction = dot < 0 ? QString() : text.mid(dot + 1);
        while (fraction.endsWith(QLatin1Char('0')))
            fraction.chop(1);
        *decimals = fraction.size();
        bool ok = false;
        *value = text.toDouble(&ok);
        return ok;
    }
    if (!prefixedAllowed)
        return false;
    const QRegularExpressionMatch m = prefixed.match(text);
    if (!m.hasMatch())
        return false;
    const int base = m.captured(1).isEmpty() ? 16 : m.captured(1).toInt();
    bool ok = false;
    const qulonglong integer = m.captured(2).toULongLong(&ok, base);
    *value = double(integer);
    *decimals = 0;
    return ok;
}

bool withinBounds(double value, double minVal, double maxVal)
{
    // Bounds are often scaled register limits (e.g. 3000 * 0.1): allow for their binary rounding only,
    // far below any step a person can type even next to 2^31.
    const auto tolerance = [](double bound) { return 1e-12 * qMax(1.0, qAbs(bound)); };
    return value >= minVal - tolerance(minVal) && value <= maxVal + tolerance(maxVal);
}
} // namespace

CustomItemDelegate::CustomItemDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

QVariant CustomItemDelegate::lineEditConfig(double minVal, double maxVal, int decimals, bool onlyNumber)
{
    QVariantMap map;
    map.insert(MinKey, minVal);
    map.insert(MaxKey, maxVal);
    map.insert(DecimalsKey, decimals);
    map.insert(OnlyNumberKey, onlyNumber);
    return map;
}

QWidget *CustomItemDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                          const QModelIndex &index) const
{
    const QVariantMap lineConfig = lineEditConfigOf(index);
    if (!lineConfig.isEmpty()) {
        auto *edit = new QLineEdit(parent);
        if (lineConfig.value(OnlyNumberKey).toBool()) {
            static const QRegularExpression number(QStringLiteral("[+-]?\\d*\\.?\\d*"));
            edit->setValidator(new QRegularExpressionValidator(number, edit));
        }
        return edit;
    }

    const QVariantMap comboConfig = comboConfigOf(index);
    if (!comboConfig.isEmpty()) {
        auto *combo = new QComboBox(parent);
        combo->addItems(comboConfig.value(TextListKey).toStringList());
        // createEditor is const but the delegate's signals are not; the editor belongs to this delegate.
        auto *self = const_cast<CustomItemDelegate *>(this);
        connect(combo, QOverload<int>::of(&QComboBox::activated), self, [self, combo]() {
            emit self->commitData(combo);
            emit self->closeEditor(combo);
        });
        return combo;
    }

    return QStyledItemDelegate::createEditor(parent, option, index);
}

void CustomItemDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (!lineEditConfigOf(index).isEmpty()) {
        if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
            edit->setText(index.data(Qt::EditRole).toString());
            return;
        }
    }
    const QVariantMap comboConfig = comboConfigOf(index);
    if (!comboConfig.isEmpty()) {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            combo->setCurrentIndex(comboConfig.value(CurrentIndexKey).toInt());
            return;
        }
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void CustomItemDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    if (!lineEditConfigOf(index).isEmpty() && qobject_cast<QLineEdit *>(editor)) {
        commitLineEdit(editor, model, index);
        return;
    }
    QVariantMap comboConfig = comboConfigOf(index);
    if (!comboConfig.isEmpty()) {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            if (combo->currentIndex() < 0)
                return;
            // The map first: whoever reacts to the new display text finds the index already stored.
            comboConfig.insert(CurrentIndexKey, combo->currentIndex());
            model->setData(index, comboConfig, ComboConfigRole);
            model->setData(index, combo->currentText(), Qt::EditRole);
            return;
        }
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

void CustomItemDelegate::commitLineEdit(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    if (m_warning)
        return;
    const QVariantMap config = lineEditConfigOf(index);
    const double minVal = config.value(MinKey).toDouble();
    const double maxVal = config.value(MaxKey).toDouble();
    const int decimals = qMax(0, config.value(DecimalsKey).toInt());
    const bool onlyNumber = config.value(OnlyNumberKey).toBool();
    const QString text = static_cast<QLineEdit *>(editor)->text().trimmed();

    double value = 0;
    int places = 0;
    if (parseNumber(text, !onlyNumber, &value, &places) && places <= decimals
        && withinBounds(value, minVal, maxVal)) {
        model->setData(index, text, Qt::EditRole);
        // setModelData is const but the delegate's signals are not.
        emit const_cast<CustomItemDelegate *>(this)->valueCommitted(index);
        return;
    }

    qWarning() << "CustomItemDelegate: rejected" << text << "for" << minVal << "~" << maxVal << "with"
               << decimals << "decimals";
    m_warning = true;
    // 15 significant digits: limits like 2147483647 in full, without binary noise such as 300.00000000000006.
    Prompt::warning(editor->parentWidget(), tr("Tips"),
                    tr("Input out of range(%1~%2) or decimals(%3 decimal places)!")
                        .arg(minVal, 0, 'g', 15)
                        .arg(maxVal, 0, 'g', 15)
                        .arg(decimals));
    m_warning = false;
}
