// Clocking-record downloads from the simulator: how long the transfer of 100,000 records takes
// over loopback TCP, how much reading the records adds (blocking and in the background), and a
// download over a pseudo-terminal paced like a 9600-baud line against the line's own time.
//
//   termlink_download_bench --benchmark_min_time=1
//   termlink_download_bench --benchmark_filter='Transfer|Blocking|Background'
//       --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
//
// The budget: BM_BlockingDownload and BM_BackgroundDownload within 10 % of BM_TransferOnly, which
// receives the same bytes through the same calls and reads nothing.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "protocol/download.h"
#include "protocol/list_format.h"
#include "protocol/list_progress.h"
#include "protocol/reply_tests.h"
#include "terminal_simulator.h"
#include "termlink.h"
#include "transport/net_table.h"

namespace {

using namespace std::chrono_literals;
using termlink::formatText;
using termlink::sno;

constexpr std::int32_t kSno = 5150;
constexpr std::size_t kRecords = 100000;

std::uint16_t freePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  socklen_t size = sizeof a;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &size);
  ::close(s);
  return ntohs(a.sin_port);
}

// One terminal with 100,000 records connected over loopback TCP, made once.
struct NetTerminal {
  NetTerminal() {
    terminal->fillRecords(kRecords);
    const std::uint16_t port = freePort();
    ::setenv("TERMLINK_TCP_PORT", std::to_string(port).c_str(), 1);
    if (CKT_NetDaemon() != 1) std::abort();
    endpoint = std::make_unique<termsim::TcpEndpoint>(terminal, port);
    for (int i = 0; i < 300 && termlink::findSocket(kSno) < 0; ++i) std::this_thread::sleep_for(10ms);
    if (termlink::findSocket(kSno) < 0) std::abort();
  }
  std::shared_ptr<termsim::TerminalState> terminal = std::make_shared<termsim::TerminalState>(kSno);
  std::unique_ptr<termsim::TcpEndpoint> endpoint;
};

NetTerminal& net() {
  static NetTerminal n;
  return n;
}

std::string request() { return formatText("(%u,kqdata)", sno(kSno)); }

// The transfer alone: the whole list text, nothing read from it.
void BM_TransferOnly(benchmark::State& state) {
  net();
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string text;
    if (!termlink::downloadAll(kSno, request(), "kqdataend)\r\n", text)) state.SkipWithError("transfer");
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes * state.iterations()));
}

// CKT_GetClockingRecord: the transfer and the records read from it.
void BM_BlockingDownload(benchmark::State& state) {
  net();
  for (auto _ : state) {
    int32_t count = 0;
    ClockingRecord* records = nullptr;
    if (CKT_GetClockingRecord(kSno, &count, &records) != 1 || count != static_cast<int32_t>(kRecords))
      state.SkipWithError("download");
    CKT_FreeMemory(records);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(kRecords * state.iterations()));
}

// Reading the records of a downloaded text, without the transfer.
void BM_ParseOnly(benchmark::State& state) {
  net();
  std::string text;
  termlink::downloadAll(kSno, request(), "kqdataend)\r\n", text);
  for (auto _ : state) {
    int32_t count = 0;
    void* records = nullptr;
    if (!termlink::parseWholeList(text, kSno, termlink::clockingList(), &count, &records))
      state.SkipWithError("parse");
    CKT_FreeMemory(records);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(kRecords * state.iterations()));
}

// CKT_GetClockingRecordEx with progress calls every `range(0)` microseconds until the list is
// complete. "in_progress_ms" is the time spent inside the progress calls (the caller's share of
// the reading); the records themselves are read on the download thread while the list arrives.
void BM_BackgroundDownload(benchmark::State& state) {
  net();
  const auto interval = std::chrono::microseconds(state.range(0));
  double inside = 0;
  for (auto _ : state) {
    CKT_DownloadHandle handle = nullptr;
    if (CKT_GetClockingRecordEx(kSno, &handle) != 1) state.SkipWithError("start");
    std::size_t received = 0;
    int result = 2;
    while (result == 2) {
      int32_t total = 0, count = 0;
      ClockingRecord* slice = nullptr;
      const auto start = std::chrono::steady_clock::now();
      result = CKT_GetClockingRecordProgress(handle, &total, &count, &slice);
      inside += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      received += static_cast<std::size_t>(count);
      CKT_FreeMemory(slice);
      if (result == 2) std::this_thread::sleep_for(interval);
    }
    if (result != 1 || received != kRecords) state.SkipWithError("background");
  }
  state.counters["in_progress_ms"] = inside / static_cast<double>(state.iterations());
  state.SetItemsProcessed(static_cast<std::int64_t>(kRecords * state.iterations()));
}

// The background form's reading alone, over lists of range(0) records cut from the downloaded
// text and fed in the pieces the download thread reads: its total work grows linearly.
void BM_BackgroundParseWork(benchmark::State& state) {
  net();
  static const std::string whole = [] {
    std::string text;
    termlink::downloadAll(kSno, request(), "kqdataend)\r\n", text);
    return text;
  }();
  const auto n = static_cast<std::size_t>(state.range(0));
  std::size_t linesEnd = whole.find('\n') + 1;
  for (std::size_t i = 0; i < n; ++i) linesEnd = whole.find('\n', linesEnd) + 1;
  const std::string text = formatText("(%u,kqdata,", sno(kSno)) + std::to_string(n) + ")\r\n" +
                           whole.substr(whole.find('\n') + 1, linesEnd - whole.find('\n') - 1) +
                           formatText("(%u,kqdataend)\r\n", sno(kSno));
  constexpr std::size_t kPiece = std::size_t{64} << 10;
  for (auto _ : state) {
    termlink::ListProgress progress;
    progress.format = &termlink::clockingList();
    progress.sno = kSno;
    std::size_t read = 0;
    int result = 2;
    for (std::size_t have = 0; result == 2;) {
      have = std::min(have + kPiece, text.size());
      int32_t total = 0, count = 0;
      void* records = nullptr;
      result = termlink::readListProgress(
          progress, std::string_view(text).substr(0, have),
          have == text.size() ? termlink::TransferState::complete : termlink::TransferState::running,
          &total, &count, &records);
      read += static_cast<std::size_t>(count);
      CKT_FreeMemory(records);
    }
    if (result != 1 || read != n) state.SkipWithError("parse");
  }
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(static_cast<std::int64_t>(n * state.iterations()));
}

// 100 records over a pseudo-terminal paced at 9600 baud (10 bits a byte): the download against
// the time the line needs for the same bytes ("line_ratio", 1.0 is the line's own time).
void BM_PacedSerialDownload(benchmark::State& state) {
  auto terminal = std::make_shared<termsim::TerminalState>(kSno + 1);
  terminal->fillRecords(100);
  termsim::SimOptions paced;
  paced.baud = 9600;
  termsim::PtyEndpoint line(terminal, paced);
  ::setenv("TERMLINK_COM9", line.devicePath().c_str(), 1);
  CKT_RegisterSno(kSno + 1, 9);
  const std::string text = formatText("(%u,kqdata)", sno(kSno + 1));
  double seconds = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    std::string got;
    termlink::downloadAll(kSno + 1, text, "kqdataend)\r\n", got);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    bytes = got.size();
  }
  const double lineSeconds = static_cast<double>(bytes) * 10.0 / 9600.0;
  state.counters["line_ratio"] = seconds / static_cast<double>(state.iterations()) / lineSeconds;
  state.counters["bytes"] = static_cast<double>(bytes);
}

// On a shared machine the quickest of several repetitions is the figure least disturbed by others.
double fastest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

BENCHMARK(BM_TransferOnly)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_BlockingDownload)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_BackgroundDownload)->Unit(benchmark::kMillisecond)->Arg(1000)->Arg(100)
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_BackgroundParseWork)->Unit(benchmark::kMillisecond)->RangeMultiplier(2)
    ->Range(12500, 100000)->Complexity(benchmark::oN);
BENCHMARK(BM_PacedSerialDownload)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
