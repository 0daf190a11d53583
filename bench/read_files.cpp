// Baseline of the silent-run benchmark: a C++ program that reads the files a silent run reads
// (each whole, once) and writes nothing. scripts/bench runs it with the sample project's four
// INI files: product configuration, program ini, .cfg file and language file.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
  std::size_t total = 0;
  for (int i = 1; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    total += bytes.size();
  }
  std::cout << total << '\n';
  return 0;
}
