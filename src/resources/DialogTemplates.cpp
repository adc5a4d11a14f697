// Dialog templates 132 (script options) and 23002 (replace confirmation).
#include "ui/Window.h"

namespace {

using K = EControlKind;

const TDialogTemplate kOptionsDialog = {
    132,
    "Формирование скриптов",
    358,
    194,
    "MS Sans Serif",
    8,
    false,
    {
        {1010, K::Edit, nullptr, 78, 42, 187, 12},
        {1047, K::PushButton, "...", 268, 43, 14, 12},
        {1002, K::AutoCheckBox, "Defaults", 13, 67, 42, 10},
        {1018, K::Edit, nullptr, 77, 67, 66, 12},
        {1005, K::AutoCheckBox, "UDT", 13, 84, 31, 10},
        {1019, K::Edit, nullptr, 77, 84, 66, 12},
        {1000, K::AutoCheckBox, "Tables", 13, 101, 37, 10},
        {1012, K::Edit, nullptr, 77, 101, 66, 12},
        {1003, K::AutoCheckBox, "Primary Keys", 13, 118, 56, 10},
        {1017, K::Edit, nullptr, 77, 118, 66, 12},
        {1032, K::AutoCheckBox, "Foreign Keys", 13, 135, 57, 10},
        {1022, K::Edit, nullptr, 77, 135, 66, 12},
        {1090, K::AutoCheckBox, "FullText", 13, 153, 41, 10},
        {1091, K::Edit, nullptr, 77, 152, 66, 12},
        {1092, K::AutoCheckBox, "Schemas", 13, 170, 45, 10},
        {1093, K::Edit, nullptr, 77, 169, 66, 12},
        {1001, K::AutoCheckBox, "Views", 152, 68, 35, 10},
        {1013, K::Edit, nullptr, 216, 68, 66, 12},
        {1006, K::AutoCheckBox, "Triggers", 152, 85, 41, 10},
        {1014, K::Edit, nullptr, 216, 85, 66, 12},
        {1007, K::AutoCheckBox, "Stored proc", 152, 102, 53, 10},
        {1015, K::Edit, nullptr, 216, 102, 66, 12},
        {1004, K::AutoCheckBox, "Indexes", 152, 119, 41, 10},
        {1016, K::Edit, nullptr, 216, 119, 66, 12},
        {1008, K::AutoCheckBox, "Checks", 152, 136, 40, 10},
        {1021, K::Edit, nullptr, 216, 136, 66, 12},
        {1025, K::AutoCheckBox, "UDF", 152, 154, 31, 10},
        {1026, K::Edit, nullptr, 216, 153, 66, 12},
        {1076, K::AutoCheckBox, "Не включать COLLATION", 7, 7, 101, 10},
        {1030, K::PushButton, "Все", 301, 154, 50, 14},
        {1031, K::PushButton, "Ничего", 301, 173, 50, 14},
        {1, K::DefPushButton, "OK", 301, 7, 50, 14},
        {2, K::PushButton, "Cancel", 301, 24, 50, 14},
        {-1, K::Frame, nullptr, 7, 37, 281, 150},
        {-1, K::Static, "Формировать скрипты по объектам :", 7, 23, 129, 8},
        {-1, K::Static, "Путь :", 15, 42, 52, 12, true},
    },
};

const TDialogTemplate kReplaceDialog = {
    23002,
    "Подтверждение замены файлов",
    288,
    66,
    "MS Shell Dlg",
    8,
    true,
    {
        {2, K::PushButton, "Отмена", 204, 45, 50, 14},
        {23014, K::PushButton, "Да", 33, 45, 50, 14},
        {23013, K::PushButton, "Да для всех", 90, 45, 50, 14},
        {23010, K::PushButton, "Нет", 147, 45, 50, 14},
        {23012, K::Static, "Папка уже содержит файл %s", 7, 7, 274, 8},
        {-1, K::Static, "Заменить существующий файл?", 7, 21, 118, 8},
    },
};

} // namespace

const TDialogTemplate* AfxFindDialogTemplate(UINT nID) {
    if (nID == kOptionsDialog.nID)
        return &kOptionsDialog;
    if (nID == kReplaceDialog.nID)
        return &kReplaceDialog;
    return nullptr;
}
