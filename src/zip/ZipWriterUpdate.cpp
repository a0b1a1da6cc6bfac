// TZipWriter: rewriting an existing archive (update pass, member copy), putting the result in place,
// and flushing a pending comment when the archive name changes.
#include <filesystem>
#include <system_error>

#include "platform/Platform.h"
#include "zip/ByteIO.h"
#include "zip/ZipExceptions.h"
#include "zip/ZipPaths.h"
#include "zip/ZipWriter.h"
#include "zip/ZipWriterRun.h"

namespace brisko::zip {

namespace fs = std::filesystem;

void TZipWriter::SetZipName(const std::string& name) {
  if (SameName(name, ZipName())) return;
  // A comment no Zip has stored yet goes into the current archive first. Only an existing archive is
  // rewritten: writing the comment alone into a new file would leave a bogus empty archive behind.
  const bool flush =
      fEndCentral.CommentChanged && !ZipName().empty() && platform::StatFile(ZipName()).exists;
  // Cleared first: a flush that fails is reported once and does not block every later name change.
  fEndCentral.CommentChanged = false;
  if (flush) {
    FilesList.clear();
    ZipSequence();
  }
  TZipReader::SetZipName(name);
}

void TZipWriter::UpdatePass(Run& run) {
  TSortedZip* list = fZipContents.get();
  if (!list) return;
  for (int i = 0; i < list->Count(); ++i) {
    TZipHeaderInfo* member = list->Item(i);
    if (member->FileCommentLength != 0 && !member->HasFileComment()) LoadEntryComment(*member);
    auto copy = std::make_unique<TZipHeaderInfo>(*member);
    const std::string key = NameKey(member->FullName());
    int match = -1;
    for (size_t j = 0; j < FilesList.size(); ++j) {
      if (NameKey(StoredNameOf(FilesList[j])) == key) {
        match = static_cast<int>(j);
        break;
      }
    }
    bool keep = true;
    if (match >= 0) {
      const std::string entry = FilesList[static_cast<size_t>(match)];
      FilesList.erase(FilesList.begin() + match);
      bool replace = ZipAction == TZipAction::zaReplace;
      if (!replace) {
        platform::FileStat st = platform::StatFile(entry);
        // Packed DOS values order like the moments they stand for.
        uint32_t fileDate = platform::RepairDosDateTime(platform::DosDateTimeFromTime(st.lastWrite));
        replace = platform::RepairDosDateTime(member->DateTime) < fileDate;
      }
      if (replace) {
        if (OnUpdate) OnUpdate(*this, TUpdateAction::uaReplacing, i);
        auto record = std::make_unique<TZipHeaderInfo>();
        if (AddMember(run, entry, record)) {
          Accept(run, std::move(record), true);
          keep = false;
        }
        // A replacing file that cannot be added leaves the old member in the archive.
      } else if (OnUpdate) {
        OnUpdate(*this, TUpdateAction::uaKeeping, i);
      }
    }
    if (keep) {
      CopyMember(run, *member, *copy);
      Accept(run, std::move(copy), false);
    }
  }
}

void TZipWriter::CopyMember(Run& run, const TZipHeaderInfo& member, TZipHeaderInfo& copy) {
  TZipHeaderInfo local;
  if (!ReadLocalHeaderOf(member, local)) throw EBadZipFile(kMsgNotValidZip);
  const uint64_t dataPos = SeekToData(member);
  const uint32_t extra = local.LocalExtraFieldLength;
  ZipStream& out = *run.Out;
  if (out.Position() > 0xFFFFFFFFu || run.PositionList->Count() >= 0xFFFF)
    throw EZipTooLarge("Archive too large to copy " + member.StoredName());
  copy.LocalExtraFieldLength = static_cast<uint16_t>(extra);
  if (!copy.WriteLocalHeader(out)) throw ENotEnoughRoom(kMsgNotEnoughRoom);
  ZipStream& in = Archive();
  if (!in.Seek(dataPos - extra)) throw EBadZipFile(kMsgNotValidZip);
  uint64_t remaining = uint64_t{extra} + member.CompressedSize;
  if (member.HasDataDescriptor()) {
    // Keep the descriptor that follows the data (with or without its signature).
    uint8_t sig[4] = {};
    uint64_t after = dataPos + member.CompressedSize;
    uint32_t value = 0;
    in.Seek(after);
    bool hasSig = in.Read(sig, 4) == 4 && GetLE32(sig, 4, 0, value) && value == kDataDescriptorSig;
    remaining += hasSig ? kDataDescriptorSize : kDataDescriptorSize - 4;
    in.Seek(dataPos - extra);
  }
  std::vector<uint8_t> buffer(256 * 1024);
  while (remaining > 0) {
    size_t want = static_cast<size_t>(std::min<uint64_t>(remaining, buffer.size()));
    size_t got = in.Read(buffer.data(), want);
    if (got == 0) throw EBadZipFile(kMsgNotValidZip);
    if (out.Write(buffer.data(), got) != got) throw ENotEnoughRoom(kMsgNotEnoughRoom);
    remaining -= got;
    AfterWrite();
  }
}

void TZipWriter::PutInPlace(const std::string& tempName) {
  std::error_code ec;
  // An archive reached through a symbolic link is replaced at the link's target; the link stays.
  std::string target = ZipName();
  if (fs::is_symlink(fs::u8path(target), ec)) {
    const fs::path resolved = fs::canonical(fs::u8path(target), ec);
    if (ec) throw EZipException("Could not resolve the link " + target + ": " + ec.message());
    target = resolved.string();
  }
  // The new file takes the permissions of the archive it replaces.
  const fs::perms perms = fs::status(fs::u8path(target), ec).permissions();
  if (!ec) fs::permissions(fs::u8path(tempName), perms, ec);
  // A rename replaces the old archive in one step, so it is never missing in between.
  fs::rename(tempName, target, ec);
  if (!ec) return;
  if (ec != std::errc::cross_device_link)
    throw EZipException("Could not copy from " + tempName + " -> " + target + ": " + ec.message());
  // Another file system: copy beside the archive first, then rename over it.
  const std::string aside = target + "$$$";
  fs::copy_file(tempName, aside, fs::copy_options::overwrite_existing, ec);
  if (!ec) fs::rename(aside, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(aside, ignored);
    throw EZipException("Could not copy from " + tempName + " -> " + target + ": " + ec.message());
  }
  fs::remove(tempName, ec);
}

}  // namespace brisko::zip
