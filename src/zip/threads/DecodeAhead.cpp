// Worker threads that decode members ahead, and the hand-over in order.
#include "zip/threads/DecodeAhead.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "zip/codec/DeflateCodec.h"
#include "zip/crypto/MemberDecryption.h"
#include "zip/format/LocalHeaderCheck.h"
#include "zip/format/ZipConstants.h"
#include "zip/read/ArchiveDirectory.h"
#include "zip/read/ReadingSource.h"
#include "zip/write/PreparedMember.h"

namespace brisko::zip {

namespace {

// What a member holds in memory while it is decoded and until it is taken.
uint64_t CostOf(const ZipEntry& entry) {
  return entry.compressedSize + entry.uncompressedSize;
}

// Decodes one member from its local header on; null when anything is amiss. The buffers are the
// worker's own, kept from one member to the next.
std::unique_ptr<DecodeAhead::Decoded> DecodeOne(ZipStream& archive, const ZipEntry& entry,
                                                const std::string& password, bool keepData,
                                                BufferInflater& inflater, std::vector<uint8_t>& in,
                                                std::vector<uint8_t>& scratch) {
  ZipEntry local;
  if (!archive.Seek(entry.relativeOffset) || !local.ReadLocalHeader(archive, entry.versionMadeBy) ||
      !LocalHeaderDisagreement(entry, local).empty())
    return nullptr;
  ReadingSource raw([&archive](uint8_t* buffer, size_t n) { return archive.Read(buffer, n); });
  MemberDecryption decryption;
  uint64_t size = entry.compressedSize;
  auto result = std::make_unique<DecodeAhead::Decoded>();
  if (entry.IsEncrypted()) {
    if (decryption.Begin(entry, password, raw) != MemberDecryption::Start::Ok) return nullptr;
    size = decryption.DataSize();
    result->password = password;
  }
  in.resize(static_cast<size_t>(size));
  if (archive.Read(in.data(), in.size()) != in.size()) return nullptr;
  if (entry.IsEncrypted()) decryption.Decrypt(in.data(), in.size());
  if (!decryption.Authentic(raw)) return nullptr;

  std::vector<uint8_t>& out = keepData ? result->data : scratch;
  if (entry.DataMethod() == kMethodStored) {
    if (in.size() != entry.uncompressedSize) return nullptr;
    out.swap(in);
  } else {
    out.resize(static_cast<size_t>(entry.uncompressedSize));
    if (!inflater.InflateExact(in.data(), in.size(), out.data(), out.size())) return nullptr;
  }
  result->crc = Crc32(0, out.data(), out.size());
  if (entry.CrcStored() && result->crc != entry.crc32) return nullptr;
  return result;
}

}  // namespace

DecodeAhead::DecodeAhead(std::vector<std::optional<ZipEntry>> members,
                         std::vector<std::unique_ptr<ZipStream>> streams, std::string password, bool keepData)
    : members_(std::move(members)),
      password_(std::move(password)),
      keepData_(keepData),
      slots_(members_.size()),
      streams_(std::move(streams)) {
  for (auto& member : members_)
    if (member && !Suits(*member)) member.reset();
  threads_.Start(streams_.size(), [this](size_t i) { Work(*streams_[i]); });
}

DecodeAhead::~DecodeAhead() {
  threads_.Stop();
}

bool DecodeAhead::Suits(const ZipEntry& entry) {
  if (entry.FileName().empty() || !IsDecodable(entry)) return false;
  const uint16_t method = entry.DataMethod();
  return (method == kMethodStored || method == kMethodDeflated) &&
         entry.uncompressedSize <= kWholeMemberLimit && entry.compressedSize <= kWholeMemberLimit;
}

int DecodeAhead::WorkerCount() {
  // One per core: decrypting and key derivation can outweigh the file work of the caller's thread.
  constexpr int kMost = 4;  // each worker holds a member and its buffers in memory
  return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMost);
}

bool DecodeAhead::CanStart() {
  nextStart_ = std::max(nextStart_, slots_.NextTake());
  while (nextStart_ < members_.size() &&
         (!members_[nextStart_] || slots_.StateOf(nextStart_) != Slots::State::Waiting))
    ++nextStart_;
  if (nextStart_ >= members_.size() || slots_.Items() >= kAheadMembers) return false;
  // One member alone always fits: the limits of Suits keep it well within the budget.
  return slots_.Bytes() == 0 || slots_.Bytes() + CostOf(*members_[nextStart_]) <= kAheadBytes;
}

void DecodeAhead::Freed() {
  // Workers held back by the budget wake once half of it is free, not for every member taken.
  if (slots_.Items() <= kAheadMembers / 2 && slots_.Bytes() <= kAheadBytes / 2)
    threads_.WorkReady().notify_all();
}

void DecodeAhead::Work(ZipStream& archive) {
  BufferInflater inflater;
  std::vector<uint8_t> in, scratch;
  std::unique_lock<std::mutex> lock(threads_.Mutex());
  for (;;) {
    threads_.WorkReady().wait(lock, [this] { return threads_.Stopping() || CanStart(); });
    if (threads_.Stopping()) return;
    const size_t index = nextStart_++;
    const ZipEntry& entry = *members_[index];
    slots_.Start(index, CostOf(entry));
    lock.unlock();
    std::unique_ptr<Decoded> result;
    try {
      result = DecodeOne(archive, entry, password_, keepData_, inflater, in, scratch);
    } catch (...) {
      // Out of memory, a damaged archive and the like: the caller meets it again on its own path.
      result.reset();
    }
    lock.lock();
    if (slots_.Finish(index, std::move(result))) Freed();
  }
}

std::unique_ptr<DecodeAhead::Decoded> DecodeAhead::Take(size_t index, CancelCheck* cancel) {
  std::unique_lock<std::mutex> lock(threads_.Mutex());
  if (index < slots_.NextTake() || index >= slots_.Count()) return nullptr;
  if (slots_.PassOver(index)) Freed();
  if (slots_.Claim(index)) return nullptr;
  constexpr auto kPoll = std::chrono::milliseconds(20);
  const auto finished = [this, index] { return slots_.StateOf(index) != Slots::State::Busy; };
  while (!slots_.ResultReady().wait_for(lock, kPoll, finished)) {
    if (!cancel) continue;
    lock.unlock();
    cancel->CheckCancel();
    lock.lock();
  }
  auto result = slots_.TakeReady(index);
  Freed();
  return result;
}

std::unique_ptr<DecodeAhead> DecodeAhead::Start(ArchiveDirectory& archive, const std::string& password,
                                                int first, const std::vector<bool>* chosen) {
  // Parts of a split archive are asked for one by one: only the archive itself goes through them.
  if (!archive.DirectoryLoaded() || archive.IsMultiDisk() || !archive.OverlapNote().empty()) return nullptr;
  const int count = archive.EntryCount();
  std::vector<std::optional<ZipEntry>> members(static_cast<size_t>(count));
  int suitable = 0;
  for (int i = std::max(first, 0); i < count; ++i) {
    const ZipEntry& entry = archive.Entry(i);
    if ((chosen && !(*chosen)[static_cast<size_t>(i)]) || !Suits(entry)) continue;
    members[static_cast<size_t>(i)] = entry;
    ++suitable;
  }
  if (suitable < 2) return nullptr;  // starting threads would cost more than it saves
  std::vector<std::unique_ptr<ZipStream>> streams;
  for (int i = 0; i < WorkerCount(); ++i) {
    auto stream = archive.OpenStreamOn(archive.ZipName());
    if (!stream) break;
    streams.push_back(std::move(stream));
  }
  return std::make_unique<DecodeAhead>(std::move(members), std::move(streams), password, chosen != nullptr);
}

}  // namespace brisko::zip
