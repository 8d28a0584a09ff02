#include <cstdio>

int main()
{
    std::puts("KEL demo");
    return 0;
}
