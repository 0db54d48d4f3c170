/* Test double of the external compressor "compress.exe SOURCE OUTPUT": writes "CMP" and the source reversed. */
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  FILE* in = fopen(argv[1], "rb");
  if (!in) return 1;
  fseek(in, 0, SEEK_END);
  long size = ftell(in);
  fseek(in, 0, SEEK_SET);
  unsigned char* bytes = malloc(size > 0 ? (size_t)size : 1);
  size_t got = fread(bytes, 1, (size_t)size, in);
  fclose(in);
  FILE* out = fopen(argv[2], "wb");
  if (!out) return 1;
  fwrite("CMP", 1, 3, out);
  for (size_t i = got; i > 0; --i) fputc(bytes[i - 1], out);
  fclose(out);
  free(bytes);
  return 0;
}
