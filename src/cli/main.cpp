#include <cstdio>

int main() {
    std::puts("lyrivox-cli");
    return 0;
}
