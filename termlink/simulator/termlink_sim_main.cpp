// termlink-sim: a simulated attendance terminal for trying the library by hand and for benchmarks.
//
//   termlink-sim --sno 123456 --pty                 prints the device to put in TERMLINK_COM<n>
//   termlink-sim --sno 123456 --tcp 5010 --records 100000
//
// Runs until interrupted (Ctrl-C) or standard input closes when --until-eof is given.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "terminal_simulator.h"

namespace {

volatile std::sig_atomic_t gStop = 0;
void onSignal(int) { gStop = 1; }

const char* kUsage =
    "usage: termlink-sim --sno N (--pty | --tcp PORT) [options]\n"
    "  --sno N              serial number of the terminal (unsigned decimal)\n"
    "  --pty                answer on a pseudo-terminal; its device path is printed\n"
    "  --tcp PORT           connect to the library's server on 127.0.0.1:PORT\n"
    "  --records N          N stored clocking records with full 19-character times\n"
    "  --persons N          N enrolled persons, each with a template for finger 0\n"
    "  --silent             answer nothing\n"
    "  --split              write each reply in two pieces\n"
    "  --pieces N           write replies in pieces of N bytes\n"
    "  --tail-piece N       write the last N bytes of each reply as a piece of their own\n"
    "  --split-pause MS     pause between pieces (default 60)\n"
    "  --reply-sno N        answer with serial number N\n"
    "  --malformed KIND     bracket | onebyte | wrongword | fivemac | checksum | noend\n"
    "  --drop-after N       end the connection after N lines of a list\n"
    "  --baud B             pace replies as a line of B baud (e.g. 9600)\n"
    "  --delay MS           wait MS before each reply\n"
    "  --modem              answer Hayes dial-up commands in front of the terminal\n"
    "  --no-reconnect       TCP: do not connect again after the connection ends\n"
    "  --until-eof          stop when standard input ends\n";

std::optional<unsigned long long> number(const char* text) {
  if (!text || !*text) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const unsigned long long v = std::strtoull(text, &end, 10);
  if (errno || *end || text[0] == '-') return std::nullopt;
  return v;
}

int usage(const char* problem) {
  std::fprintf(stderr, "termlink-sim: %s\n%s", problem, kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<unsigned long long> sno, tcpPort, records, persons;
  bool pty = false, untilEof = false;
  termsim::SimOptions options;
  options.reconnect = true;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
    auto value = [&](std::optional<unsigned long long>& out) {
      out = number(next);
      ++i;
      return out.has_value();
    };
    std::optional<unsigned long long> v;
    if (a == "--sno") {
      if (!value(sno) || *sno > 0xFFFFFFFFull) return usage("--sno needs an unsigned 32-bit number");
    } else if (a == "--pty") {
      pty = true;
    } else if (a == "--tcp") {
      if (!value(tcpPort) || *tcpPort == 0 || *tcpPort > 65535) return usage("--tcp needs a port");
    } else if (a == "--records") {
      if (!value(records)) return usage("--records needs a count");
    } else if (a == "--persons") {
      if (!value(persons)) return usage("--persons needs a count");
    } else if (a == "--silent") {
      options.silent = true;
    } else if (a == "--split") {
      options.splitReplies = true;
    } else if (a == "--pieces") {
      if (!value(v) || *v == 0) return usage("--pieces needs a byte count");
      options.pieceBytes = static_cast<std::size_t>(*v);
    } else if (a == "--tail-piece") {
      if (!value(v) || *v == 0) return usage("--tail-piece needs a byte count");
      options.tailPieceBytes = static_cast<std::size_t>(*v);
    } else if (a == "--split-pause") {
      if (!value(v)) return usage("--split-pause needs milliseconds");
      options.splitPauseMs = static_cast<int>(*v);
    } else if (a == "--reply-sno") {
      if (!value(v) || *v > 0xFFFFFFFFull) return usage("--reply-sno needs a serial number");
      options.replySno = static_cast<std::uint32_t>(*v);
    } else if (a == "--malformed") {
      const std::string kind = next ? next : "";
      ++i;
      using M = termsim::Malformation;
      if (kind == "bracket") options.malformation = M::ClosingBracket;
      else if (kind == "onebyte") options.malformation = M::OneByte;
      else if (kind == "wrongword") options.malformation = M::WrongWord;
      else if (kind == "fivemac") options.malformation = M::FiveMacNumbers;
      else if (kind == "checksum") options.malformation = M::BadChecksum;
      else if (kind == "noend") options.malformation = M::MissingEndLine;
      else return usage("unknown --malformed kind");
    } else if (a == "--drop-after") {
      if (!value(v)) return usage("--drop-after needs a count");
      options.dropAfterRecords = static_cast<int>(*v);
    } else if (a == "--baud") {
      if (!value(v) || *v == 0) return usage("--baud needs a rate");
      options.baud = static_cast<int>(*v);
    } else if (a == "--delay") {
      if (!value(v)) return usage("--delay needs milliseconds");
      options.replyDelayMs = static_cast<int>(*v);
    } else if (a == "--modem") {
      options.modem = true;
    } else if (a == "--no-reconnect") {
      options.reconnect = false;
    } else if (a == "--until-eof") {
      untilEof = true;
    } else if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else {
      return usage(("unknown argument " + a).c_str());
    }
  }
  if (!sno) return usage("--sno is required");
  if (pty == tcpPort.has_value()) return usage("give exactly one of --pty and --tcp PORT");

  auto terminal = std::make_shared<termsim::TerminalState>(static_cast<std::uint32_t>(*sno));
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  terminal->setClock({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec},
                     true);
  if (records) terminal->fillRecords(*records);
  if (persons) terminal->fillPersons(*persons);

  std::signal(SIGINT, onSignal);
  std::signal(SIGTERM, onSignal);
  std::unique_ptr<termsim::Endpoint> endpoint;
  try {
    if (pty) {
      auto line = std::make_unique<termsim::PtyEndpoint>(terminal, options);
      std::printf("%s\n", line->devicePath().c_str());
      endpoint = std::move(line);
    } else {
      endpoint = std::make_unique<termsim::TcpEndpoint>(terminal, static_cast<std::uint16_t>(*tcpPort),
                                                        options);
      std::printf("terminal %u connecting to 127.0.0.1:%llu\n", terminal->sno(), *tcpPort);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "termlink-sim: %s\n", e.what());
    return 1;
  }
  std::fflush(stdout);

  if (untilEof) {
    std::thread([] {
      char c;
      while (std::cin.get(c)) {
      }
      gStop = 1;
    }).detach();
  }
  while (!gStop) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  return 0;
}
