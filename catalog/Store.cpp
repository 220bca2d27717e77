#include "catalog/Store.h"

namespace ov::catalog {

std::unordered_map<std::string, KnownFile> LoadKnownFiles(Database& db) {
  std::unordered_map<std::string, KnownFile> known;
  Statement s(db.Handle(), "SELECT path, size, inode, mtime_ns, sha256, activity FROM files");
  while (s.Step()) {
    KnownFile k;
    k.size = uint64_t(s.Int(1));
    k.inode = uint64_t(s.Int(2));
    k.mtimeNs = s.Int(3);
    if (!s.IsNull(4)) k.sha256 = s.Text(4);
    k.activity = s.Int(5) != 0;
    known.emplace(s.Text(0), std::move(k));
  }
  return known;
}

void RemoveFile(Database& db, const std::string& path) {
  Statement del(db.Handle(), "DELETE FROM files WHERE path = ?1");
  del.Bind(1, path).Run();
}

void WriteEntry(Database& db, const FileEntry& e) {
  RemoveFile(db, e.path);
  Statement f(db.Handle(),
              "INSERT INTO files(path, size, mtime_ns, inode, device, status, code, message, kind,"
              " channel_count, video_coding, layout, start_time, end_time, scanned_at, sha256,"
              " activity) VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15,?16,?17)");
  // SQLite keeps signed 64-bit integers: sizes and inodes fit, device numbers are stored as bits.
  f.Bind(1, e.path)
      .Bind(2, int64_t(e.size))
      .Bind(3, e.mtimeNs)
      .Bind(4, int64_t(e.inode))
      .Bind(5, int64_t(e.device))
      .Bind(6, e.status)
      .Bind(7, e.code)
      .Bind(8, e.message)
      .Bind(9, e.kind)
      .Bind(10, e.channelCount)
      .Bind(11, e.videoCoding)
      .Bind(12, e.layout)
      .Bind(13, e.start)
      .Bind(14, e.end)
      .Bind(15, e.scannedAt)
      .Bind(16, e.sha256)
      .Bind(17, int64_t(e.activity));
  f.Run();
  const int64_t id = sqlite3_last_insert_rowid(db.Handle());
  Statement c(db.Handle(),
              "INSERT INTO channels(file_id, slot, number, name, coding, video, sound, first_time,"
              " last_time) VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9)");
  Statement g(db.Handle(),
              "INSERT INTO gaps(file_id, slot, from_time, to_time) VALUES(?1,?2,?3,?4)");
  for (const ChannelEntry& ch : e.channels) {
    c.Bind(1, id)
        .Bind(2, int64_t(ch.slot))
        .Bind(3, int64_t(ch.slot + 1))
        .Bind(4, ch.name)
        .Bind(5, ch.coding)
        .Bind(6, int64_t(ch.video))
        .Bind(7, int64_t(ch.sound))
        .Bind(8, ch.first)
        .Bind(9, ch.last)
        .Run();
    for (const Gap& gap : ch.gaps)
      g.Bind(1, id).Bind(2, int64_t(ch.slot)).Bind(3, gap.from).Bind(4, gap.to).Run();
  }
  Statement ev(
      db.Handle(),
      "INSERT INTO events(file_id, slot, from_time, to_time, peak) VALUES(?1,?2,?3,?4,?5)");
  for (const EventEntry& x : e.events)
    ev.Bind(1, id).Bind(2, int64_t(x.slot)).Bind(3, x.from).Bind(4, x.to).Bind(5, x.peak).Run();
}

}  // namespace ov::catalog
