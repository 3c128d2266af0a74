#include "tests/support/RegistrySandbox.h"

#include <cstdlib>
#include <memory>
#include <vector>

RegistrySandbox::RegistrySandbox() : folder("comregistry")
{
    if (const char* value = std::getenv("COMREGISTRY_DIR"))
        previous = value;
    ::setenv("COMREGISTRY_DIR", folder.Path().c_str(), 1);
}

RegistrySandbox::~RegistrySandbox()
{
    if (previous)
        ::setenv("COMREGISTRY_DIR", previous->c_str(), 1);
    else
        ::unsetenv("COMREGISTRY_DIR");
}

void UseSandboxRegistry()
{
    // Undone in reverse order at exit, so each restores what it replaced.
    static struct Stack {
        std::vector<std::unique_ptr<RegistrySandbox>> sandboxes;
        ~Stack()
        {
            while (!sandboxes.empty())
                sandboxes.pop_back();
        }
    } stack;
    stack.sandboxes.push_back(std::make_unique<RegistrySandbox>());
}
