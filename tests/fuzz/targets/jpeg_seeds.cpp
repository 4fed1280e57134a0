// Writes the seed corpus of the JPEG fuzz target: tiny pictures, each reaching a different part
// of the decoder (baseline, progressive, greyscale, four-colour with the Adobe marker, plain RGB,
// arithmetic coding, restart markers, a comment marker), a truncated one, ones whose frame header
// declares a picture far beyond the size cap or just within it, and two aimed at the decoder's
// limits: a large flat arithmetic-coded picture and a file of 120 scans. Files are named by the
// SHA-1 of their bytes, as libFuzzer names what it keeps.
//
// Usage: jpeg_seeds <output folder>

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <vector>

// libjpeg's header needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace {

enum class TCoding { Baseline, Progressive, Arithmetic, ArithmeticProgressive };

struct TSeed {
  const char* name;
  int width;
  int height;
  int components;        // 1 grey, 3 RGB in, 4 CMYK in
  J_COLOR_SPACE stored;  // colour space written to the file
  TCoding coding;
  int restartRows = 0;  // restart interval in MCU rows, 0 for none
  int sampling = 2;     // horizontal and vertical sampling of the first component
  bool comment = false;
  bool flat = false;  // one grey level: arithmetic coding then needs almost no bytes per block
  int dcRepeats = 0;  // when not 0: scans are one DC scan, this many copies of it, then one AC scan
                      // per component; every copy is valid and walks the whole picture again
};

// Smooth gradients with a little edge, so that the blocks carry AC coefficients and not only DC.
unsigned char Sample(int x, int y, int c, bool flat) {
  if (flat) return 128;
  const int value = x * 9 + y * 5 + c * 60 + ((x / 4 + y / 4) % 2) * 40;
  return static_cast<unsigned char>(value & 0xFF);
}

QByteArray Encode(const TSeed& seed) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);

  info.image_width = static_cast<JDIMENSION>(seed.width);
  info.image_height = static_cast<JDIMENSION>(seed.height);
  info.input_components = seed.components;
  info.in_color_space = seed.components == 1 ? JCS_GRAYSCALE : seed.components == 4 ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_colorspace(&info, seed.stored);
  jpeg_set_quality(&info, 75, TRUE);
  if (seed.components > 1) {
    info.comp_info[0].h_samp_factor = seed.sampling;
    info.comp_info[0].v_samp_factor = seed.sampling;
  }
  if (seed.coding == TCoding::Arithmetic || seed.coding == TCoding::ArithmeticProgressive)
    info.arith_code = TRUE;
  if (seed.coding == TCoding::Progressive || seed.coding == TCoding::ArithmeticProgressive)
    jpeg_simple_progression(&info);
  info.restart_in_rows = seed.restartRows;
  std::vector<jpeg_scan_info> scans;
  if (seed.dcRepeats > 0) {
    jpeg_scan_info dc{};
    dc.comps_in_scan = info.num_components;
    for (int c = 0; c < info.num_components; ++c) dc.component_index[c] = c;
    scans.push_back(dc);
    for (int c = 0; c < info.num_components; ++c) {
      jpeg_scan_info ac{};
      ac.comps_in_scan = 1;
      ac.component_index[0] = c;
      ac.Ss = 1;
      ac.Se = 63;
      scans.push_back(ac);
    }
    info.scan_info = scans.data();
    info.num_scans = static_cast<int>(scans.size());
  }

  jpeg_start_compress(&info, TRUE);
  if (seed.comment) {
    static const char kText[] = "seed";
    jpeg_write_marker(&info, JPEG_COM, reinterpret_cast<const JOCTET*>(kText), sizeof kText - 1);
  }
  std::vector<unsigned char> row(static_cast<size_t>(seed.width) * seed.components);
  while (info.next_scanline < info.image_height) {
    const int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < seed.width; ++x)
      for (int c = 0; c < seed.components; ++c) row[x * seed.components + c] = Sample(x, y, c, seed.flat);
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
  std::free(buffer);
  if (seed.dcRepeats > 0) {
    // libjpeg's encoder refuses to repeat a scan, so the DC scan is copied in the bytes.
    const QByteArray sos("\xFF\xDA", 2);
    const qsizetype first = bytes.indexOf(sos);
    const qsizetype second = bytes.indexOf(sos, first + 2);
    const QByteArray dc = bytes.mid(first, second - first);
    bytes.insert(second, dc.repeated(seed.dcRepeats));
  }
  return bytes;
}

// Rewrites the height and width of the first frame header (any SOFn marker).
QByteArray WithDeclaredSize(QByteArray bytes, int width, int height) {
  for (qsizetype i = 2; i + 9 < bytes.size(); ++i) {
    const auto marker = static_cast<unsigned char>(bytes[i + 1]);
    if (static_cast<unsigned char>(bytes[i]) != 0xFF || marker < 0xC0 || marker > 0xCF || marker == 0xC4 ||
        marker == 0xC8 || marker == 0xCC)
      continue;
    bytes[i + 5] = static_cast<char>(height >> 8);
    bytes[i + 6] = static_cast<char>(height & 0xFF);
    bytes[i + 7] = static_cast<char>(width >> 8);
    bytes[i + 8] = static_cast<char>(width & 0xFF);
    return bytes;
  }
  std::fprintf(stderr, "no frame header\n");
  std::exit(1);
}

bool Write(const QDir& folder, const QByteArray& bytes) {
  const QString name = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
  QFile file(folder.filePath(name));
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return false;
  std::printf("%s %lld bytes\n", qPrintable(name), static_cast<long long>(bytes.size()));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: jpeg_seeds <output folder>\n");
    return 2;
  }
  QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("."))) return 1;

  const TSeed seeds[] = {
      {"baseline", 16, 16, 3, JCS_YCbCr, TCoding::Baseline},
      {"progressive", 24, 16, 3, JCS_YCbCr, TCoding::Progressive},
      {"grey", 16, 8, 1, JCS_GRAYSCALE, TCoding::Baseline},
      {"grey_progressive", 17, 9, 1, JCS_GRAYSCALE, TCoding::Progressive},
      {"cmyk_adobe", 8, 8, 4, JCS_CMYK, TCoding::Baseline, 0, 1},
      {"ycck_adobe", 16, 16, 4, JCS_YCCK, TCoding::Baseline},
      {"rgb_untransformed", 8, 8, 3, JCS_RGB, TCoding::Baseline, 0, 1},
      {"arithmetic", 16, 16, 3, JCS_YCbCr, TCoding::Arithmetic},
      {"arithmetic_progressive", 16, 16, 3, JCS_YCbCr, TCoding::ArithmeticProgressive},
      {"restarts", 32, 48, 3, JCS_YCbCr, TCoding::Baseline, 1},
      {"restarts_progressive", 16, 32, 3, JCS_YCbCr, TCoding::Progressive, 1},
      {"h1v1_comment", 13, 7, 3, JCS_YCbCr, TCoding::Baseline, 0, 1, true},
      // Flat arithmetic-coded pictures: large ones cost a few hundred bytes and decode cleanly.
      {"arithmetic_4096x4096", 4096, 4096, 3, JCS_YCbCr, TCoding::ArithmeticProgressive, 0, 1, false, true,
       1},
      {"scans_120", 256, 256, 1, JCS_GRAYSCALE, TCoding::ArithmeticProgressive, 0, 1, false, true, 118},
  };
  bool written = true;
  for (const TSeed& seed : seeds) {
    std::printf("%-24s ", seed.name);
    written = Write(folder, Encode(seed)) && written;
  }

  const QByteArray plain = Encode(seeds[0]);
  std::printf("%-24s ", "truncated");
  written = Write(folder, plain.left(plain.size() * 3 / 4)) && written;
  std::printf("%-24s ", "declared_65000x65000");
  written = Write(folder, WithDeclaredSize(plain, 65000, 65000)) && written;
  std::printf("%-24s ", "declared_4000x4000");
  written = Write(folder, WithDeclaredSize(plain, 4000, 4000)) && written;
  std::printf("%-24s ", "declared_2800x2800");
  written = Write(folder, WithDeclaredSize(plain, 2800, 2800)) && written;
  return written ? 0 : 1;
}
