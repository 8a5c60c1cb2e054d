// ImageCheck: lists the firmware images and checks the properties the loaders rely on.
//
//   ImageCheck --table <dir>...
//   ImageCheck --check <fw-ia32 images dir> <fw-x64 images dir>
//
// Header facts (file header, optional header, data directories, sections, base
// relocations) come from llvm-readobj, the code of the pre-memory images from
// llvm-objdump. The only bytes read directly are those of the two links of each
// boot-services driver, compared to prove that every absolute address has a base
// relocation.
#include "ImageCheckConfig.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// An image that cannot be inspected at all: a tool failed or printed something unexpected.
class InspectError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Values of the PE/COFF format that the checks test.
constexpr uint64_t kMachineI386 = 0x14C;
constexpr uint64_t kMachineAmd64 = 0x8664;
constexpr uint64_t kMagicPe32 = 0x10B;
constexpr uint64_t kMagicPe32Plus = 0x20B;
constexpr uint64_t kSubsystemEfiBootServiceDriver = 11;
constexpr uint64_t kFileRelocsStripped = 0x0001;
constexpr uint64_t kDllDynamicBase = 0x0040;
constexpr uint64_t kSectionMemWrite = 0x80000000;
// File offsets, relative to the start of the optional header, of the fields whose
// value depends on the base an image is linked at.
constexpr uint64_t kCheckSumOffset = 64;
constexpr uint64_t kCheckSumSize = 4;
constexpr uint64_t kPe32ImageBaseOffset = 28;
constexpr uint64_t kPe32ImageBaseSize = 4;
constexpr uint64_t kPe32PlusImageBaseOffset = 24;
constexpr uint64_t kPe32PlusImageBaseSize = 8;
// Size of the PE signature and of the COFF file header that precede the optional header.
constexpr uint64_t kPeSignatureSize = 4;
constexpr uint64_t kFileHeaderSize = 20;
// Size of the field a DIR64 base relocation fixes up.
constexpr uint64_t kDir64Size = 8;

// How many individual places a single failure line lists before summarising the rest.
constexpr size_t kListedPlaces = 6;

// ---------------------------------------------------------------------------------------
// Running the LLVM tools.

std::string shellQuote(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  quoted += "'";
  return quoted;
}

// Runs a tool and returns what it printed. Its standard error is folded into the output
// so that a failure message can show why the tool failed.
std::string runTool(const std::vector<std::string> &argv) {
  std::string command;
  for (const std::string &arg : argv) {
    command += shellQuote(arg);
    command += ' ';
  }
  command += "2>&1";
  FILE *pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    throw InspectError("cannot start " + argv.front());
  }
  std::string output;
  std::array<char, 4096> buffer{};
  size_t count = 0;
  while ((count = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
    output.append(buffer.data(), count);
  }
  int status = pclose(pipe);
  if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::string firstLine = output.substr(0, output.find('\n'));
    throw InspectError(fs::path(argv.front()).filename().string() + " failed" +
                       (firstLine.empty() ? std::string() : ": " + firstLine));
  }
  return output;
}

// ---------------------------------------------------------------------------------------
// The text llvm-readobj prints: nested "Key {" / "Key [" blocks closed by "}" / "]",
// "Key: Value" fields, and bare lines such as the flag names inside a characteristics
// list. This parses it into a tree so that fields are looked up by their place
// (ImageFileHeader.Characteristics is not ImageOptionalHeader.Characteristics).

struct ReadobjNode {
  std::string key;
  std::string value; // text after "Key:" for a field, after "Key [" for a list block
  std::vector<ReadobjNode> children;
};

std::string_view trim(std::string_view text) {
  size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) {
    return {};
  }
  size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

ReadobjNode parseReadobj(const std::string &text) {
  ReadobjNode root;
  std::vector<ReadobjNode *> open{&root};
  std::vector<char> closers;
  std::istringstream lines(text);
  std::string rawLine;
  int lineNumber = 0;
  while (std::getline(lines, rawLine)) {
    ++lineNumber;
    std::string_view line = trim(rawLine);
    if (line.empty()) {
      continue;
    }
    if (line == "}" || line == "]") {
      if (closers.empty() || closers.back() != line.front()) {
        throw InspectError("llvm-readobj output: unbalanced '" + std::string(line) + "' on line " +
                           std::to_string(lineNumber));
      }
      closers.pop_back();
      open.pop_back();
      continue;
    }
    ReadobjNode node;
    char closer = 0;
    if (line.back() == '{') {
      node.key = trim(line.substr(0, line.size() - 1));
      closer = '}';
    } else if (size_t bracket = line.find(" [");
               bracket != std::string_view::npos && line.find(": ") == std::string_view::npos) {
      // "Characteristics [ (0x103)" or "BaseReloc [".
      node.key = trim(line.substr(0, bracket));
      node.value = trim(line.substr(bracket + 2));
      closer = ']';
    } else if (size_t colon = line.find(": "); colon != std::string_view::npos) {
      node.key = trim(line.substr(0, colon));
      node.value = trim(line.substr(colon + 2));
    } else {
      node.key = line;
    }
    open.back()->children.push_back(std::move(node));
    if (closer != 0) {
      open.push_back(&open.back()->children.back());
      closers.push_back(closer);
    }
  }
  if (!closers.empty()) {
    throw InspectError("llvm-readobj output ends inside a block");
  }
  return root;
}

const ReadobjNode *findChild(const ReadobjNode &node, std::string_view key) {
  for (const ReadobjNode &child : node.children) {
    if (child.key == key) {
      return &child;
    }
  }
  return nullptr;
}

const ReadobjNode &requireChild(const ReadobjNode &node, std::string_view key, std::string_view where) {
  const ReadobjNode *child = findChild(node, key);
  if (child == nullptr) {
    throw InspectError("llvm-readobj output lacks " + (where.empty() ? "" : std::string(where) + ".") +
                       std::string(key));
  }
  return *child;
}

// Parses "0x1F", "32" (the whole text must be the number).
uint64_t parseNumber(std::string_view text, std::string_view what) {
  text = trim(text);
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  uint64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    throw InspectError("llvm-readobj output: " + std::string(what) + " is not a number ('" +
                       std::string(text) + "')");
  }
  return value;
}

// Parses the number in the trailing parentheses of "IMAGE_FILE_MACHINE_I386 (0x14C)" or "(0x103)".
uint64_t parseTrailingNumber(std::string_view text, std::string_view what) {
  text = trim(text);
  size_t open = text.rfind('(');
  if (open == std::string_view::npos || !text.ends_with(')')) {
    throw InspectError("llvm-readobj output: " + std::string(what) + " has no value in parentheses ('" +
                       std::string(text) + "')");
  }
  return parseNumber(text.substr(open + 1, text.size() - open - 2), what);
}

uint64_t numberField(const ReadobjNode &node, std::string_view key, std::string_view where) {
  return parseNumber(requireChild(node, key, where).value, std::string(where) + "." + std::string(key));
}

// ---------------------------------------------------------------------------------------
// What an image is made of, as far as the checks are concerned.

// Indexes of the optional header's data directories.
enum class Directory : size_t {
  Export = 0,
  Import = 1,
  BaseRelocation = 5,
  Tls = 9,
  BoundImport = 11,
  ImportAddressTable = 12,
  DelayImport = 13,
};

// Key prefixes llvm-readobj uses for the sixteen data directories, in order.
constexpr std::array<std::string_view, 16> kDirectoryKeys = {"ExportTable",
                                                             "ImportTable",
                                                             "ResourceTable",
                                                             "ExceptionTable",
                                                             "CertificateTable",
                                                             "BaseRelocationTable",
                                                             "Debug",
                                                             "Architecture",
                                                             "GlobalPtr",
                                                             "TLSTable",
                                                             "LoadConfigTable",
                                                             "BoundImport",
                                                             "IAT",
                                                             "DelayImportDescriptor",
                                                             "CLRRuntimeHeader",
                                                             "Reserved"};

struct DataDirectory {
  uint64_t rva = 0;
  uint64_t size = 0;
  bool present() const { return rva != 0 || size != 0; }
};

struct Section {
  std::string name;
  uint64_t virtualAddress = 0;
  uint64_t virtualSize = 0;
  uint64_t rawDataSize = 0;
  uint64_t pointerToRawData = 0;
  uint64_t characteristics = 0;

  // Bytes of the section that the file holds and the loader maps.
  uint64_t fileBackedSize() const {
    return virtualSize == 0 ? rawDataSize : std::min(virtualSize, rawDataSize);
  }
};

struct BaseRelocation {
  std::string type;
  uint64_t rva = 0;
};

struct ImageInfo {
  fs::path path;
  uint64_t fileSize = 0;
  uint64_t machine = 0;
  uint64_t fileCharacteristics = 0;
  uint64_t magic = 0;
  uint64_t imageBase = 0;
  uint64_t sectionAlignment = 0;
  uint64_t fileAlignment = 0;
  uint64_t sizeOfHeaders = 0;
  uint64_t subsystem = 0;
  uint64_t dllCharacteristics = 0;
  uint64_t optionalHeaderOffset = 0;
  std::array<DataDirectory, 16> directories{};
  std::vector<Section> sections;
  std::vector<BaseRelocation> relocations;

  const DataDirectory &directory(Directory which) const { return directories[static_cast<size_t>(which)]; }

  // The section whose file-backed bytes hold [rva, rva + size), if any.
  const Section *sectionHolding(uint64_t rva, uint64_t size) const {
    for (const Section &section : sections) {
      if (rva >= section.virtualAddress && rva + size <= section.virtualAddress + section.fileBackedSize()) {
        return &section;
      }
    }
    return nullptr;
  }

  // The section whose raw data contains the file offset, if any.
  const Section *sectionAtOffset(uint64_t offset) const {
    for (const Section &section : sections) {
      if (section.rawDataSize != 0 && offset >= section.pointerToRawData &&
          offset < section.pointerToRawData + section.rawDataSize) {
        return &section;
      }
    }
    return nullptr;
  }
};

ImageInfo readImage(const fs::path &path) {
  ImageInfo image;
  image.path = path;
  std::error_code error;
  image.fileSize = fs::file_size(path, error);
  if (error) {
    throw InspectError("cannot read " + path.string() + ": " + error.message());
  }
  ReadobjNode root = parseReadobj(
      runTool({IMAGECHECK_LLVM_READOBJ, "--file-headers", "--sections", "--coff-basereloc", path.string()}));

  const ReadobjNode &fileHeader = requireChild(root, "ImageFileHeader", "");
  image.machine = parseTrailingNumber(requireChild(fileHeader, "Machine", "ImageFileHeader").value,
                                      "ImageFileHeader.Machine");
  image.fileCharacteristics =
      parseTrailingNumber(requireChild(fileHeader, "Characteristics", "ImageFileHeader").value,
                          "ImageFileHeader.Characteristics");

  const ReadobjNode *optionalHeader = findChild(root, "ImageOptionalHeader");
  if (optionalHeader == nullptr) {
    throw InspectError("no optional header: not an executable image");
  }
  constexpr std::string_view kOptional = "ImageOptionalHeader";
  image.magic = numberField(*optionalHeader, "Magic", kOptional);
  image.imageBase = numberField(*optionalHeader, "ImageBase", kOptional);
  image.sectionAlignment = numberField(*optionalHeader, "SectionAlignment", kOptional);
  image.fileAlignment = numberField(*optionalHeader, "FileAlignment", kOptional);
  image.sizeOfHeaders = numberField(*optionalHeader, "SizeOfHeaders", kOptional);
  image.subsystem = parseTrailingNumber(requireChild(*optionalHeader, "Subsystem", kOptional).value,
                                        "ImageOptionalHeader.Subsystem");
  image.dllCharacteristics =
      parseTrailingNumber(requireChild(*optionalHeader, "Characteristics", kOptional).value,
                          "ImageOptionalHeader.Characteristics");

  // Directories beyond NumberOfRvaAndSize do not exist in the image; the others must be printed.
  uint64_t directoryCount = numberField(*optionalHeader, "NumberOfRvaAndSize", kOptional);
  const ReadobjNode *directories = findChild(*optionalHeader, "DataDirectory");
  for (size_t index = 0; index < kDirectoryKeys.size() && index < directoryCount; ++index) {
    if (directories == nullptr) {
      throw InspectError("llvm-readobj output lacks ImageOptionalHeader.DataDirectory");
    }
    std::string key(kDirectoryKeys[index]);
    image.directories[index].rva = numberField(*directories, key + "RVA", "DataDirectory");
    image.directories[index].size = numberField(*directories, key + "Size", "DataDirectory");
  }

  const ReadobjNode &dosHeader = requireChild(root, "DOSHeader", "");
  image.optionalHeaderOffset =
      numberField(dosHeader, "AddressOfNewExeHeader", "DOSHeader") + kPeSignatureSize + kFileHeaderSize;

  for (const ReadobjNode &node : requireChild(root, "Sections", "").children) {
    if (node.key != "Section") {
      throw InspectError("llvm-readobj output: unexpected '" + node.key + "' in Sections");
    }
    Section section;
    // "Name: .text (2E 74 65 78 74 00 00 00)": the name is what precedes the raw bytes.
    std::string_view name = requireChild(node, "Name", "Section").value;
    section.name = trim(name.substr(0, name.rfind(" (")));
    section.virtualAddress = numberField(node, "VirtualAddress", "Section");
    section.virtualSize = numberField(node, "VirtualSize", "Section");
    section.rawDataSize = numberField(node, "RawDataSize", "Section");
    section.pointerToRawData = numberField(node, "PointerToRawData", "Section");
    section.characteristics = parseTrailingNumber(requireChild(node, "Characteristics", "Section").value,
                                                  "Section.Characteristics");
    image.sections.push_back(std::move(section));
  }

  for (const ReadobjNode &node : requireChild(root, "BaseReloc", "").children) {
    if (node.key != "Entry") {
      throw InspectError("llvm-readobj output: unexpected '" + node.key + "' in BaseReloc");
    }
    image.relocations.push_back({requireChild(node, "Type", "BaseReloc.Entry").value,
                                 numberField(node, "Address", "BaseReloc.Entry")});
  }
  return image;
}

std::vector<uint8_t> readBytes(const fs::path &path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    throw InspectError("cannot open " + path.string());
  }
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// ---------------------------------------------------------------------------------------
// Formatting.

std::string hex(uint64_t value, int digits = 0) {
  std::ostringstream text;
  text << "0x" << std::uppercase << std::hex << std::setfill('0') << std::setw(digits) << value;
  return text.str();
}

std::string machineName(uint64_t machine) {
  switch (machine) {
  case kMachineI386:
    return "IA32";
  case kMachineAmd64:
    return "X64";
  default:
    return hex(machine);
  }
}

std::string formatName(uint64_t magic) {
  switch (magic) {
  case kMagicPe32:
    return "PE32";
  case kMagicPe32Plus:
    return "PE32+";
  default:
    return hex(magic);
  }
}

std::string imageBaseText(const ImageInfo &image) {
  return hex(image.imageBase, image.magic == kMagicPe32 ? 8 : 16);
}

// Joins the first kListedPlaces items and says how many more there are.
std::string listPlaces(const std::vector<std::string> &places) {
  std::string text;
  for (size_t index = 0; index < places.size() && index < kListedPlaces; ++index) {
    text += (index == 0 ? "" : ", ") + places[index];
  }
  if (places.size() > kListedPlaces) {
    text += ", and " + std::to_string(places.size() - kListedPlaces) + " more";
  }
  return text;
}

// ---------------------------------------------------------------------------------------
// The checks. Each failed property is one line: "<image>: <what is wrong>".

class Report {
public:
  void fail(std::string_view image, const std::string &message) {
    std::cout << image << ": " << message << "\n";
    ++failures_;
  }
  int failures() const { return failures_; }

private:
  int failures_ = 0;
};

// Properties every image has: a boot-services driver that neither imports nor exports
// anything (nothing would resolve them) and needs no thread-local storage.
void checkCommon(const std::string &name, const ImageInfo &image, Report &report) {
  if (image.subsystem != kSubsystemEfiBootServiceDriver) {
    report.fail(name, "subsystem is " + std::to_string(image.subsystem) + ", expected " +
                          std::to_string(kSubsystemEfiBootServiceDriver) + " (EFI boot service driver)");
  }
  struct Forbidden {
    Directory directory;
    std::string_view description;
  };
  constexpr std::array<Forbidden, 6> kForbidden = {{
      {Directory::Import, "an import directory"},
      {Directory::ImportAddressTable, "an import address table"},
      {Directory::Export, "an export directory"},
      {Directory::DelayImport, "a delay-import directory"},
      {Directory::BoundImport, "a bound-import directory"},
      {Directory::Tls, "a TLS directory"},
  }};
  for (const Forbidden &forbidden : kForbidden) {
    const DataDirectory &directory = image.directory(forbidden.directory);
    if (directory.present()) {
      report.fail(name, "has " + std::string(forbidden.description) + " (RVA " + hex(directory.rva) +
                            ", size " + hex(directory.size) + "); firmware images link nothing at load time");
    }
  }
}

// Prefixes llvm-objdump prints before the mnemonic.
const std::set<std::string, std::less<>> kPrefixes = {
    "lock", "rep", "repe", "repz", "repne", "repnz", "data16",  "data32",   "addr16",   "addr32",
    "cs",   "ds",  "es",   "fs",   "gs",    "ss",    "notrack", "xacquire", "xrelease", "rex64"};

// Instructions that touch the x87, MMX or SSE/AVX state without naming one of its registers.
const std::set<std::string, std::less<>> kStateMnemonics = {"wait",     "emms",     "ldmxcsr",    "stmxcsr",
                                                            "vldmxcsr", "vstmxcsr", "vzeroupper", "vzeroall"};

// Registers of that state in AT&T syntax: %xmmN, %ymmN, %zmmN, %mmN, %st, %st(N) and the
// AVX-512 mask registers %kN. Anchored on '%' and on the end of the name, so that symbol
// names and other registers cannot match.
const std::regex kStateRegister(R"(%(?:[xyz]mm[0-9]+|mm[0-7]|st(?:\([0-7]\))?|k[0-7])(?![A-Za-z0-9_]))");

// An instruction line of llvm-objdump: "ffe80228:      \tpushl\t%ebx".
const std::regex kInstructionLine(R"(^\s*([0-9a-f]+):\s+(.*)$)");

// llvm-objdump's "<symbol+offset>" annotation of an address operand.
const std::regex kSymbolAnnotation("<[^>]*>");

// Why an instruction uses the floating-point or vector state, or nothing if it does not.
// The text is "<prefixes> <mnemonic> <operands>" with llvm-objdump's annotations removed.
std::optional<std::string> floatingPointUse(std::string_view instruction) {
  std::istringstream tokens{std::string(instruction)};
  std::string mnemonic;
  while (tokens >> mnemonic && kPrefixes.contains(mnemonic)) {
  }
  if (mnemonic.empty() || kPrefixes.contains(mnemonic)) {
    return std::nullopt;
  }
  // Every x87 instruction, and only those (with FXSAVE/FXRSTOR and FEMMS that save or
  // leave that state), has a mnemonic beginning with 'f'.
  if (mnemonic.front() == 'f') {
    return "x87 instruction";
  }
  if (kStateMnemonics.contains(mnemonic)) {
    return "x87/MMX/SSE state instruction";
  }
  std::string operands;
  std::getline(tokens, operands);
  if (std::regex_search(operands, kStateRegister)) {
    return "x87/MMX/SSE register";
  }
  return std::nullopt;
}

// Pre-memory code runs before anything enables SSE or sets up the FPU, so it may not
// contain a single instruction that uses their state.
void checkNoFloatingPoint(const std::string &name, const ImageInfo &image, Report &report) {
  std::string listing = runTool({IMAGECHECK_LLVM_OBJDUMP, "-d", "--no-show-raw-insn", image.path.string()});
  std::istringstream lines(listing);
  std::string line;
  size_t instructions = 0;
  std::vector<std::string> offenders;
  std::smatch match;
  while (std::getline(lines, line)) {
    if (!std::regex_match(line, match, kInstructionLine)) {
      continue;
    }
    std::string text = match[2].str();
    // Drop the "<symbol+offset>" annotations and the "# imm = ..." comments: they are not
    // part of the instruction.
    text = std::regex_replace(text, kSymbolAnnotation, "");
    text = text.substr(0, text.find('#'));
    if (trim(text).empty()) {
      continue;
    }
    ++instructions;
    if (std::optional<std::string> use = floatingPointUse(text)) {
      std::string shown(trim(text));
      std::replace(shown.begin(), shown.end(), '\t', ' ');
      offenders.push_back("0x" + match[1].str() + " '" + shown + "' (" + *use + ")");
    }
  }
  if (instructions == 0) {
    report.fail(name, "llvm-objdump printed no instructions to check for x87/MMX/SSE use");
  } else if (!offenders.empty()) {
    report.fail(name, "code uses x87/MMX/SSE, which pre-memory code may not: " +
                          std::to_string(offenders.size()) + " instruction(s): " + listPlaces(offenders));
  }
}

// The machine and the optional-header format an image of its phase must have.
void checkMachine(const std::string &name, const ImageInfo &image, uint64_t machine, uint64_t magic,
                  Report &report) {
  if (image.machine != machine) {
    report.fail(name, "machine is " + machineName(image.machine) + " (" + hex(image.machine) +
                          "), expected " + machineName(machine) + " (" + hex(machine) + ")");
  }
  if (image.magic != magic) {
    report.fail(name, "optional header is " + formatName(image.magic) + ", expected " + formatName(magic) +
                          " (" + hex(magic) + ")");
  }
}

// A pre-memory image executes in place at its flash address.
void checkPei(const std::string &name, const ImageInfo &image, uint64_t flashBase, Report &report) {
  checkCommon(name, image, report);
  checkMachine(name, image, kMachineI386, kMagicPe32, report);
  if (image.imageBase != flashBase) {
    report.fail(name, "image base is " + hex(image.imageBase) + ", expected its flash address " +
                          hex(flashBase) + " (FLASH_BASE_" + name + " in cmake/FlashLayout.cmake)");
  }
  if ((image.fileCharacteristics & kFileRelocsStripped) == 0) {
    report.fail(name, "IMAGE_FILE_RELOCS_STRIPPED is clear: the image must run only at its flash address "
                      "(link with /fixed)");
  }
  if ((image.dllCharacteristics & kDllDynamicBase) != 0) {
    report.fail(name, "DYNAMIC_BASE is set: an execute-in-place image cannot be moved");
  }
  if (const DataDirectory &relocations = image.directory(Directory::BaseRelocation); relocations.present()) {
    report.fail(name, "has a base-relocation directory (RVA " + hex(relocations.rva) + ", size " +
                          hex(relocations.size) + "): an execute-in-place image is never relocated");
  }
  for (const Section &section : image.sections) {
    if (section.name == ".reloc") {
      report.fail(name, "has a .reloc section: an execute-in-place image is never relocated");
    }
  }
  if (image.sectionAlignment != image.fileAlignment) {
    report.fail(name, "section alignment " + hex(image.sectionAlignment) + " differs from file alignment " +
                          hex(image.fileAlignment) +
                          ": the image in flash would not be laid out as in memory");
  }
  for (const Section &section : image.sections) {
    if (section.virtualAddress != section.pointerToRawData) {
      report.fail(name, "section " + section.name + " is at RVA " + hex(section.virtualAddress) +
                            " but at file offset " + hex(section.pointerToRawData) +
                            ": it would not be where the code expects it in flash");
    } else if (section.virtualSize > section.rawDataSize) {
      report.fail(name, "section " + section.name + " is " + hex(section.virtualSize) +
                            " bytes in memory but only " + hex(section.rawDataSize) +
                            " in the file: the rest does not exist in flash");
    }
    if ((section.characteristics & kSectionMemWrite) != 0) {
      report.fail(name, "section " + section.name +
                            " is writable (IMAGE_SCN_MEM_WRITE): an image executing in "
                            "place from flash cannot be written to");
    }
  }
  checkNoFloatingPoint(name, image, report);
}

// Compares the driver linked at its own base with the same objects linked at a second
// base. The loader adds the base delta to each DIR64 field and changes nothing else, so
// the two files must differ exactly in the DIR64 fields, by exactly the delta, apart from
// the header fields that record the base.
void checkRelocationsCoverAddresses(const std::string &name, const ImageInfo &image,
                                    const fs::path &secondPath, Report &report) {
  if (!fs::is_regular_file(secondPath)) {
    report.fail(name, "missing second-base link " + secondPath.string() + " to prove the base relocations");
    return;
  }
  ImageInfo second = readImage(secondPath);
  uint64_t delta = second.imageBase - image.imageBase;
  if (delta == 0) {
    report.fail(name, "second-base link has the same image base " + hex(image.imageBase) +
                          ", so comparing them proves nothing");
    return;
  }
  std::vector<uint8_t> first = readBytes(image.path);
  std::vector<uint8_t> moved = readBytes(secondPath);
  if (first.size() != moved.size()) {
    report.fail(name, "links at " + hex(image.imageBase) + " and " + hex(second.imageBase) +
                          " differ in size (" + std::to_string(first.size()) + " and " +
                          std::to_string(moved.size()) + " bytes): a base-independent layout was expected");
    return;
  }
  std::vector<bool> explained(first.size(), false);
  auto explain = [&](uint64_t offset, uint64_t size) {
    for (uint64_t index = offset; index < offset + size && index < explained.size(); ++index) {
      explained[index] = true;
    }
  };
  // Header fields that record the base: ImageBase and the checksum over the file.
  bool pe32 = image.magic == kMagicPe32;
  explain(image.optionalHeaderOffset + (pe32 ? kPe32ImageBaseOffset : kPe32PlusImageBaseOffset),
          pe32 ? kPe32ImageBaseSize : kPe32PlusImageBaseSize);
  explain(image.optionalHeaderOffset + kCheckSumOffset, kCheckSumSize);

  std::vector<std::string> badTypes;
  std::vector<std::string> outside;
  std::vector<std::string> repeated;
  std::vector<std::string> wrongDelta;
  std::set<uint64_t> fieldsSeen;
  for (const BaseRelocation &relocation : image.relocations) {
    if (relocation.type == "ABSOLUTE") {
      continue; // padding that ends a block on a four-byte boundary
    }
    if (relocation.type != "DIR64") {
      badTypes.push_back(relocation.type + " at RVA " + hex(relocation.rva));
      continue;
    }
    const Section *section = image.sectionHolding(relocation.rva, kDir64Size);
    if (section == nullptr) {
      outside.push_back("RVA " + hex(relocation.rva));
      continue;
    }
    if (!fieldsSeen.insert(relocation.rva).second) {
      repeated.push_back("RVA " + hex(relocation.rva) + " in " + section->name);
      continue;
    }
    uint64_t offset = relocation.rva - section->virtualAddress + section->pointerToRawData;
    uint64_t before = 0;
    uint64_t after = 0;
    for (uint64_t index = 0; index < kDir64Size; ++index) {
      before |= static_cast<uint64_t>(first[offset + index]) << (8 * index);
      after |= static_cast<uint64_t>(moved[offset + index]) << (8 * index);
    }
    if (after - before != delta) {
      wrongDelta.push_back("RVA " + hex(relocation.rva) + " in " + section->name + " (" + hex(before) +
                           " -> " + hex(after) + ")");
    }
    explain(offset, kDir64Size);
  }

  // Differing bytes no relocation explains, gathered into runs for the message.
  std::vector<std::string> unexplained;
  for (uint64_t offset = 0; offset < first.size(); ++offset) {
    if (first[offset] == moved[offset] || explained[offset]) {
      continue;
    }
    uint64_t end = offset + 1;
    while (end < first.size() && first[end] != moved[end] && !explained[end]) {
      ++end;
    }
    std::string place;
    if (const Section *section = image.sectionAtOffset(offset)) {
      place =
          "RVA " + hex(offset - section->pointerToRawData + section->virtualAddress) + " in " + section->name;
    } else {
      place = "file offset " + hex(offset) + (offset < image.sizeOfHeaders ? " in the headers" : "");
    }
    unexplained.push_back(place + " (" + std::to_string(end - offset) + " byte(s))");
    offset = end;
  }

  std::string bases = hex(image.imageBase) + " and " + hex(second.imageBase);
  if (!badTypes.empty()) {
    report.fail(name, "base relocations of a type other than DIR64 or ABSOLUTE: " + listPlaces(badTypes));
  }
  if (!outside.empty()) {
    report.fail(name,
                "DIR64 relocations outside the file-backed data of any section: " + listPlaces(outside));
  }
  if (!repeated.empty()) {
    report.fail(name, "DIR64 relocations listed twice (the loader would add the delta twice): " +
                          listPlaces(repeated));
  }
  if (!wrongDelta.empty()) {
    report.fail(name, "DIR64 fields that do not move by the base delta " + hex(delta) +
                          " between the links at " + bases + ": " + listPlaces(wrongDelta));
  }
  if (!unexplained.empty()) {
    report.fail(name, "bytes that change between the links at " + bases +
                          " without a DIR64 relocation (absolute addresses the loader would not fix up): " +
                          listPlaces(unexplained));
  }
}

// A boot-services driver is loaded at whatever address the DXE core allocates.
void checkDxe(const std::string &name, const ImageInfo &image, const fs::path &secondPath, Report &report) {
  checkCommon(name, image, report);
  checkMachine(name, image, kMachineAmd64, kMagicPe32Plus, report);
  if ((image.fileCharacteristics & kFileRelocsStripped) != 0) {
    report.fail(name,
                "IMAGE_FILE_RELOCS_STRIPPED is set: the driver could not be loaded anywhere but its base");
  }
  if ((image.dllCharacteristics & kDllDynamicBase) == 0) {
    report.fail(name, "DYNAMIC_BASE is clear: the driver must be relocatable");
  }
  if (!image.directory(Directory::BaseRelocation).present()) {
    report.fail(name, "has no base-relocation directory: the driver could not be relocated");
  }
  checkRelocationsCoverAddresses(name, image, secondPath, report);
}

struct PeiImage {
  const char *name;
  uint64_t flashBase;
};

constexpr PeiImage kPeiImages[] = {IMAGECHECK_PEI_IMAGES};
constexpr const char *kDxeImages[] = {IMAGECHECK_DXE_IMAGES};

// Reads an expected image, reporting it missing or unreadable instead of throwing.
std::optional<ImageInfo> inspect(const std::string &name, const fs::path &path, Report &report) {
  if (!fs::is_regular_file(path)) {
    report.fail(name, "missing (expected " + path.string() + ")");
    return std::nullopt;
  }
  try {
    return readImage(path);
  } catch (const InspectError &error) {
    report.fail(name, std::string("cannot inspect ") + path.string() + ": " + error.what());
    return std::nullopt;
  }
}

int runCheck(const fs::path &peiDir, const fs::path &dxeDir) {
  Report report;
  size_t checked = 0;
  for (const PeiImage &expected : kPeiImages) {
    std::string name = expected.name;
    if (std::optional<ImageInfo> image = inspect(name, peiDir / (name + ".efi"), report)) {
      try {
        checkPei(name, *image, expected.flashBase, report);
      } catch (const InspectError &error) {
        report.fail(name, error.what());
      }
      ++checked;
    }
  }
  for (const char *expected : kDxeImages) {
    std::string name = expected;
    if (std::optional<ImageInfo> image = inspect(name, dxeDir / (name + ".efi"), report)) {
      try {
        checkDxe(name, *image, dxeDir / "second-base" / (name + ".efi"), report);
      } catch (const InspectError &error) {
        report.fail(name, error.what());
      }
      ++checked;
    }
  }
  if (report.failures() != 0) {
    std::cout << "ImageCheck: " << report.failures() << " failure(s)\n";
    return 1;
  }
  std::cout << "ImageCheck: OK: " << checked << " images (" << std::size(kPeiImages)
            << " execute-in-place PE32, " << std::size(kDxeImages)
            << " relocatable PE32+ with every absolute address relocated)\n";
  return 0;
}

int runTable(const std::vector<fs::path> &dirs) {
  struct Row {
    std::string name;
    std::string machine;
    std::string format;
    std::string base;
    std::string size;
    std::string dir;
  };
  std::vector<Row> rows;
  int status = 0;
  for (const fs::path &dir : dirs) {
    std::error_code error;
    fs::directory_iterator entries(dir, error);
    if (error) {
      std::cerr << "ImageCheck: cannot list " << dir.string() << ": " << error.message() << "\n";
      status = 1;
      continue;
    }
    std::vector<fs::path> files;
    for (const fs::directory_entry &entry : entries) {
      if (entry.is_regular_file() && entry.path().extension() == ".efi") {
        files.push_back(entry.path());
      }
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) {
      std::cerr << "ImageCheck: no .efi images in " << dir.string() << "\n";
    }
    for (const fs::path &file : files) {
      try {
        ImageInfo image = readImage(file);
        rows.push_back({file.stem().string(), machineName(image.machine), formatName(image.magic),
                        imageBaseText(image), std::to_string(image.fileSize), dir.string()});
      } catch (const InspectError &inspectError) {
        std::cerr << "ImageCheck: " << file.string() << ": " << inspectError.what() << "\n";
        status = 1;
      }
    }
  }
  size_t nameWidth = 4;
  for (const Row &row : rows) {
    nameWidth = std::max(nameWidth, row.name.size());
  }
  auto printRow = [&](const Row &row) {
    std::cout << std::left << std::setw(static_cast<int>(nameWidth)) << row.name << "  " << std::setw(7)
              << row.machine << "  " << std::setw(6) << row.format << "  " << std::setw(18) << row.base
              << "  " << std::right << std::setw(8) << row.size << "  " << std::left << row.dir << "\n";
  };
  printRow({"Name", "Machine", "Format", "Image base", "Size", "Directory"});
  for (const Row &row : rows) {
    printRow(row);
  }
  return status;
}

int usage() {
  std::cerr << "usage: ImageCheck --table <dir>...\n"
               "       ImageCheck --check <fw-ia32 images dir> <fw-x64 images dir>\n";
  return 2;
}

} // namespace

int main(int argc, char **argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() >= 2 && args[0] == "--table") {
    return runTable({args.begin() + 1, args.end()});
  }
  if (args.size() == 3 && args[0] == "--check") {
    return runCheck(args[1], args[2]);
  }
  return usage();
}
