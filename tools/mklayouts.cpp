// Placeholder until the layout writer exists: writes an empty layout file.
#include <fstream>
int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::ofstream out(argv[2], std::ios::binary);
  return out ? 0 : 1;
}
