#include "framework/DataExchange.h"

#include <QComboBox>
#include <QLineEdit>
#include <QString>
#include <QValidator>
#include <QWidget>

DataExchange::DataExchange(QWidget& dialog, bool saveAndValidate)
    : m_dialog(dialog), m_saveAndValidate(saveAndValidate)
{
}

void DataExchange::Fail(int controlNumber)
{
    if (m_failedControl == 0)
        m_failedControl = controlNumber != 0 ? controlNumber : -1;
}

void SetControlNumber(QWidget& control, int number)
{
    control.setObjectName(QString::number(number));
}

QWidget* FindControl(const QWidget& dialog, int number)
{
    return dialog.findChild<QWidget*>(QString::number(number), Qt::FindDirectChildrenOnly);
}

namespace {
template <typename Control>
Control* FindTyped(DataExchange& dx, int controlNumber)
{
    if (dx.Failed())
        return nullptr;
    auto* control = qobject_cast<Control*>(FindControl(dx.Dialog(), controlNumber));
    if (!control)
        dx.Fail(controlNumber);
    return control;
}
} // namespace

void DDX_Text(DataExchange& dx, int controlNumber, std::string& value)
{
    auto* edit = FindTyped<QLineEdit>(dx, controlNumber);
    if (!edit)
        return;
    if (dx.SaveAndValidate()) {
        const QByteArray bytes = edit->text().toUtf8();
        value.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    } else {
        // The members go in as they stand: the field's input rules (upper
        // case, digits only) are for what the operator types, so they are
        // set aside while the program writes the text.
        const QValidator* rules = edit->validator();
        edit->setValidator(nullptr);
        edit->setText(QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
        edit->setValidator(rules);
    }
}

void DDX_CBIndex(DataExchange& dx, int controlNumber, int& index)
{
    auto* list = FindTyped<QComboBox>(dx, controlNumber);
    if (!list)
        return;
    if (dx.SaveAndValidate()) {
        index = list->currentIndex();
    } else {
        list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
    }
}
