// The error of a catalog model's load: which family's statement failed, and why.
#pragma once

#include <stdexcept>
#include <string>

// A family's statement failed or answered in a shape the loader cannot read.
class CModelLoadError : public std::runtime_error {
public:
    CModelLoadError(std::string strFamily, std::string strStatement, std::string strReason)
        : std::runtime_error("cannot read the catalog's " + strFamily + ": " + strReason),
          m_strFamily(std::move(strFamily)), m_strStatement(std::move(strStatement)),
          m_strReason(std::move(strReason)) {}

    const std::string& Family() const { return m_strFamily; }
    const std::string& Statement() const { return m_strStatement; }
    // The server's words, or what was wrong with its answer.
    const std::string& Reason() const { return m_strReason; }

private:
    std::string m_strFamily;
    std::string m_strStatement;
    std::string m_strReason;
};
