#include <cstdio>

int main()
{
    std::puts("celvane-tool");
    return 0;
}
