// Keeping passwords of a connect string out of messages.
#pragma once

#include <string>

// strText with every "PWD=..."/"Password=..." it quotes, and every password of strConnect (PWD=, Password=)
// that it holds as a token of its own, replaced by "***". Drivers may echo the connect string in their
// connection errors. A password shorter than four characters is only masked where it is quoted as PWD=.
std::string HideConnectSecrets(std::string strText, const std::string& strConnect);
