// The two account facts a setup hands to its child programs.
#pragma once

struct AccountFacts {
    bool adminAct;          // the user logged on at the console is an administrator account
    bool authorizationAct;  // this process runs with the Administrators group in its token
};

// Computed now; both may change while the installer runs.
AccountFacts CurrentAccountFacts();
