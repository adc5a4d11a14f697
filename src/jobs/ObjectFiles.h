// The module's export with a file per object, named by a template, the folder's list of the files exports
// wrote, and the files left from objects that are gone.
#pragma once

#include "jobs/ModuleFiles.h"
#include "jobs/NameTemplate.h"

#include <regex>

class CObjectFiles : public CModuleOutput {
public:
    // aFiles: the categories' file names; {category} stands for the name without ".sql".
    CObjectFiles(std::string strDir, CNameTemplate nameTemplate, const TCategoryFiles& aFiles,
                 CReplaceGate& gate);

    // Objects whose names differ only in letter case get "~2", "~3", ... after the name, in the order they
    // come.
    void Object(int nCategory, const std::string& strSchema, const std::string& strName,
                const std::string& strText) override;

    // The files that an earlier export into the folder wrote for the categories' objects and that no object
    // of this run wrote are named, or removed with bPrune; files no export wrote are never touched. Then the
    // folder's list is written anew; false when it could not be.
    bool Conclude(const std::vector<int>& aCategories, bool bPrune, IJobObserver& observer) override;

protected:
    // Each object's file is what the category's file would be if it held that object alone: its text between
    // the batches the category puts before and after its objects (SET options and the like), so that it runs
    // on its own.
    bool WriteCategory(int nCategory, const std::string& strText) override;
    void KeptFiles(int nCategory, TJobNotice& notice) const override;

private:
    struct TPending {
        std::string strPath;
        size_t nLength;
    };
    // Touched only by the worker that runs the category, and after the run.
    struct TCategory {
        std::vector<TPending> aObjects;
        std::string strFirstText;
        std::set<std::string> setUsed; // case-folded paths given to objects
        std::vector<std::string> aWritten;
    };

    int CategoryOf(const std::string& strRelative) const;

    const CNameTemplate m_template;
    std::array<std::string, SQL_CATEGORY_COUNT> m_aFolders;
    std::vector<std::regex> m_aPatterns;
    std::array<TCategory, SQL_CATEGORY_COUNT> m_aCategories;
};
