// make_data.cpp - writes the game's data files.
int main() { return 0; }
