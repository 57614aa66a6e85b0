// A game that ends at once: what a launch costs is the start, not the game.
int main() { return 0; }
