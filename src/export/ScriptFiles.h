// What the export runs share around one category's file: the replace question and the writing.
#pragma once

#include "ui/Window.h"

struct TReplaceAnswer {
    bool bReplace = false;    // "Да" or "Да для всех"
    bool bReplaceAll = false; // "Да для всех"
};

// Asks whether the existing file at strPath may be overwritten. "Нет", "Отмена", Escape and the close box
// all refuse: no file is overwritten without an explicit yes.
TReplaceAnswer AskReplaceFile(CWnd* pParent, const CString& strPath);

// Writes exactly the text's bytes, under a temporary name renamed to strPath when complete, so the path never
// holds a part of the text; on failure shows message 28007 through pfnShowMessage and returns false.
bool WriteScriptFile(const CString& strPath, const CString& strText, void (*pfnShowMessage)(UINT nID));

// Name and extension of a path, without its folder; '/' and '\\' both separate folders.
CString ExtractFileName(const char* pszPath);
