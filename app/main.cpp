#include "app/startup.h"

int main() { return karuta::EntryPoint(); }
