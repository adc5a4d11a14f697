// Keeping passwords of a connect string out of messages.
#pragma once

#include <string>

// strText with every password of strConnect (PWD=, Password=) and every "PWD=..."/"Password=..." it
// quotes replaced by "***". Drivers may echo the connect string in their connection errors.
std::string HideConnectSecrets(std::string strText, const std::string& strConnect);
