#include "settingsstore.h"

#include "numbertext.h"

std::optional<double> SettingsStore::number(StateField field) const
{
    return NumberText::toNumber(text(field));
}
