// String table 28001-28009.
#include "platform/Resources.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<UINT, const char*>, 8> kStringTable = {{
    {28001, "Выбор директории выгрузки скриптов"},
    {28003, "Ошибка создания директории выгрузки"},
    {28004, "Не указан файл выгрузки"},
    {28005, "Не корректное соединение с базой данных"},
    {28006, "Неопознанная ошибка"},
    {28007, "Ошибка выгрузки в файл"},
    {28008, "Ошибка создания скрипта. "},
    {28009, "Ошибка. Некорректные параметры функции."},
}};

} // namespace

const char* AfxFindStringResource(UINT nID) {
    for (const auto& [nKey, pszText] : kStringTable)
        if (nKey == nID)
            return pszText;
    return nullptr;
}
