// WriteJob: rewriting an existing archive (update pass, member copy), putting the result in place,
// and flushing a pending comment when the archive name changes.
#include <deque>
#include <filesystem>
#include <system_error>
#include <unordered_map>

#include "platform/AtomicFile.h"
#include "platform/FileIo.h"
#include "platform/Platform.h"
#include "zip/format/ByteIO.h"
#include "zip/format/ZipErrors.h"
#include "zip/names/CodePage.h"
#include "zip/names/ZipPaths.h"
#include "zip/write/WriteJob.h"
#include "zip/write/WriteJobState.h"

namespace brisko::zip {

namespace fs = std::filesystem;

void WriteJob::SetZipName(const std::string& name) {
  if (SameName(name, archive_.ZipName())) return;
  EndOfCentralDir& end = archive_.EndCentralRecord();
  const bool flush =
      end.commentChanged && !archive_.ZipName().empty() && platform::StatFile(archive_.ZipName()).exists;
  // Cleared first: a flush that fails is reported once and does not block every later name change.
  end.commentChanged = false;
  if (flush) {
    options_.filesList.clear();
    ZipSequence();
  }
  archive_.SetZipName(name);
}

void WriteJob::UpdatePass(State& run) {
  const SortedEntries* list = archive_.Contents();
  if (!list) return;
  // Entries by the key of the name they would be stored under, each name's entries in list order;
  // one hash look-up per member keeps an update linear however large both sides are.
  std::unordered_map<std::string, std::deque<size_t>> byName;
  for (size_t j = 0; j < options_.filesList.size(); ++j)
    byName[NameKey(StoredNameOf(options_.filesList[j]))].push_back(j);
  std::vector<bool> taken(options_.filesList.size(), false);
  const std::vector<std::string> entries = options_.filesList;
  for (int i = 0; i < list->Count(); ++i) {
    ZipEntry* member = list->Item(i);
    if (member->fileCommentLength != 0 && !member->HasFileComment()) archive_.LoadEntryComment(*member);
    auto copy = std::make_unique<ZipEntry>(*member);
    int match = -1;
    if (auto it = byName.find(NameKey(member->FullName())); it != byName.end() && !it->second.empty()) {
      match = static_cast<int>(it->second.front());
      it->second.pop_front();
      taken[static_cast<size_t>(match)] = true;
    }
    bool keep = true;
    if (match >= 0) {
      const std::string& entry = entries[static_cast<size_t>(match)];
      bool replace = options_.zipAction == AddAction::Replace;
      if (!replace) {
        platform::FileStat st = platform::StatFile(entry);
        // The extended timestamp when the member has one; else packed DOS values, which order like
        // the moments they stand for.
        if (member->unixTime) {
          replace = *member->unixTime < static_cast<int64_t>(st.lastWrite);
        } else {
          uint32_t fileDate = platform::RepairDosDateTime(platform::DosDateTimeFromTime(st.lastWrite));
          replace = platform::RepairDosDateTime(member->dateTime) < fileDate;
        }
      }
      if (replace) {
        observer_->OnUpdate(UpdateAction::Replacing, i);
        auto record = std::make_unique<ZipEntry>();
        if (AddMember(run, entry, record)) {
          Accept(run, std::move(record), true);
          keep = false;
        }
        // A replacing file that cannot be added leaves the old member in the archive.
      } else {
        observer_->OnUpdate(UpdateAction::Keeping, i);
      }
    }
    if (keep) {
      CopyMember(run, *member, *copy);
      Accept(run, std::move(copy), false);
    }
  }
  // What no member matched is added as new.
  options_.filesList.clear();
  for (size_t j = 0; j < entries.size(); ++j)
    if (!taken[j]) options_.filesList.push_back(entries[j]);
}

void WriteJob::CopyMember(State& run, const ZipEntry& member, ZipEntry& copy) {
  ZipEntry local;
  if (!archive_.ReadLocalHeaderOf(member, local)) throw BadArchiveError(kMsgNotValidZip);
  ZipStream& in = archive_.Archive();
  const uint64_t dataPos = in.Position();
  // The local header is copied with its extra fields; only the name takes the form the central
  // header will have, so that both agree.
  std::vector<uint8_t> head(kLocalHeaderSize);
  if (!in.Seek(member.relativeOffset) || !in.ReadExact(head.data(), head.size()))
    throw BadArchiveError(kMsgNotValidZip);
  const EncodedName name = EncodeEntryName(copy.StoredName());
  uint16_t flags = 0;
  GetLE16(head.data(), head.size(), 6, flags);
  flags = static_cast<uint16_t>((flags & ~kFlagUtf8) | (name.needsUtf8Flag ? kFlagUtf8 : 0));
  std::vector<uint8_t> fixed(head.begin(), head.begin() + 6);
  PutLE16(fixed, flags);
  fixed.insert(fixed.end(), head.begin() + 8, head.begin() + 26);
  PutLE16(fixed, static_cast<uint16_t>(name.bytes.size()));
  PutLE16(fixed, local.localExtraFieldLength);
  PutBytes(fixed, name.bytes);
  ZipStream& out = *run.out;
  copy.relativeOffset = out.Position();
  copy.localZip64 = local.localZip64;
  copy.localExtraFieldLength = local.localExtraFieldLength;
  if (out.Write(fixed.data(), fixed.size()) != fixed.size()) throw NotEnoughRoomError(kMsgNotEnoughRoom);

  const uint32_t extra = local.localExtraFieldLength;
  uint64_t remaining = uint64_t{extra} + member.compressedSize;
  if (member.HasDataDescriptor()) {
    // Keep the descriptor that follows the data whole: with or without its signature, with 64-bit
    // sizes when the local header has a Zip64 field.
    uint8_t sig[4] = {};
    uint32_t value = 0;
    in.Seek(dataPos + member.compressedSize);
    bool hasSig = in.Read(sig, 4) == 4 && GetLE32(sig, 4, 0, value) && value == kDataDescriptorSig;
    remaining += (local.localZip64 ? kDataDescriptor64Size : kDataDescriptorSize) - (hasSig ? 0 : 4);
  }
  if (!in.Seek(dataPos - extra)) throw BadArchiveError(kMsgNotValidZip);
  std::vector<uint8_t> buffer(256 * 1024);
  while (remaining > 0) {
    size_t want = static_cast<size_t>(std::min<uint64_t>(remaining, buffer.size()));
    size_t got = in.Read(buffer.data(), want);
    if (got == 0) throw BadArchiveError(kMsgNotValidZip);
    if (out.Write(buffer.data(), got) != got) throw NotEnoughRoomError(kMsgNotEnoughRoom);
    remaining -= got;
    AfterWrite();
  }
}

void WriteJob::PutInPlace(const std::string& tempName) {
  std::error_code ec;
  // An archive reached through a symbolic link is replaced at the link's target; the link stays.
  std::string target = archive_.ZipName();
  if (fs::is_symlink(fs::u8path(target), ec)) {
    const fs::path resolved = fs::canonical(fs::u8path(target), ec);
    if (ec) throw ZipError("Could not resolve the link " + target + ": " + ec.message());
    target = resolved.string();
  }
  // The new file takes the permissions of the archive it replaces.
  const platform::FileStat old = platform::StatFile(target);
  const int mode = old.exists && old.posixMode != 0 ? static_cast<int>(old.posixMode & 07777) : -1;
  // The new archive moves beside the old one (copied when it lies on another file system), reaches
  // the disk, and replaces the old one in one step, so that is never missing in between.
  platform::AtomicFile placed(target);
  if (!placed.Open())
    throw ZipError("Could not copy from " + tempName + " -> " + target + ": cannot create a file there");
  const std::string slot = placed.TempPath();
  placed.Adopt(slot);
  if (!platform::RenameOver(tempName, slot)) {
    fs::copy_file(fs::u8path(tempName), fs::u8path(slot), fs::copy_options::overwrite_existing, ec);
    if (ec) throw ZipError("Could not copy from " + tempName + " -> " + target + ": " + ec.message());
    fs::remove(fs::u8path(tempName), ec);
  }
  if (!placed.Commit(mode))
    throw ZipError("Could not copy from " + tempName + " -> " + target +
                   ": the new archive did not reach the disk");
}

}  // namespace brisko::zip
