#include "setup/AccountFacts.h"

#include "utils/MachineFacts.h"

AccountFacts CurrentAccountFacts() {
    return {Utils::IsAdministratorAccount(Utils::GetActiveConsoleUserName()),
            Utils::IsAdministratorToken()};
}
