// kcSection: the LISP functions over reinforcement record files (st_open, st_close, st_read,
// st_write) and the filling of schedule templates (st_modify). One record file is open at a time
// for the whole process, across documents, until st_close or the next st_open.
#include <memory>

#include "frame/args.h"
#include "frame/module.h"
#include "host/acdb.h"
#include "records.h"
#include "schedule.h"

namespace {

std::unique_ptr<section::RecordFile> openFile;  // null: no file, or a name of no known kind

constexpr std::size_t kMaxFileName = 263;
constexpr std::size_t kMaxRecordName = 10;
constexpr std::size_t kMaxReals = 20;

void closeRecordFile() { openFile.reset(); }

// The unit switch: the LISP symbol u_mm set to anything but nil.
bool unitSwitch() {
  resbuf* value = nullptr;
  bool on = acedGetSym(L"u_mm", &value) == RTNORM && value && value->restype != RTNIL;
  acutRelRb(value);
  return on;
}

// Returns an integer to LISP as a short when it fits, as a long otherwise.
void appendInt(resbuf*& tail, int value) {
  bool fits = value >= -32768 && value <= 32767;
  tail->rbnext = fits ? acutBuildList(RTSHORT, value, 0) : acutBuildList(RTLONG, value, 0);
  tail = tail->rbnext;
}

int st_open(resbuf* args) {
  kc::Args in(args);
  auto name = in.takeString();
  if (!name) return RTERROR;
  closeRecordFile();
  if (name->size() > kMaxFileName) return RTERROR;  // a cut name would open another file
  section::Kind kind = section::kindOfName(*name);
  auto file = section::RecordFile::open(*name, kind);
  if (!file) return RTERROR;
  if (kind == section::Kind::None) {
    acedRetInt(0);
    return RTNORM;
  }
  openFile = std::move(file);
  acedRetInt(static_cast<int>(kind));
  return RTNORM;
}

int st_close(resbuf*) {
  closeRecordFile();
  return RTNORM;
}

int st_read(resbuf* args) {
  kc::Args in(args);
  auto index = in.takeShort();
  if (!index || !openFile) return RTERROR;
  auto record = openFile->read(*index, unitSwitch());
  if (!record) return RTERROR;
  resbuf* head = acutBuildList(RTSTR, record->name.c_str(), 0);
  resbuf* tail = head;
  for (int value : record->values) appendInt(tail, value);
  acedRetList(head);
  acutRelRb(head);
  return RTNORM;
}

int st_write(resbuf* args) {
  kc::Args in(args);
  auto index = in.takeShort();
  auto name = in.takeString();
  if (!index || !name || !openFile) return RTERROR;
  section::Record record{name->substr(0, kMaxRecordName), {}};
  std::size_t count = section::layoutOf(openFile->kind()).valueCount();
  for (std::size_t i = 0; i < count; ++i) {
    auto value = in.takeShort();
    if (!value) return RTERROR;
    record.values.push_back(*value);
  }
  if (!openFile->write(*index, record, unitSwitch())) return RTERROR;
  acedRetInt(1);
  return RTNORM;
}

// The drawing's scale factor, kept by the LISP programs in useri2.
int drawingScale() {
  resbuf value{};
  if (acedGetVar(L"useri2", &value) != RTNORM) return 1;
  return value.restype == RTSHORT ? value.resval.rint : value.restype == RTLONG ? value.resval.rlong : 1;
}

std::wstring inDrawingUnits(double value) {
  ACHAR text[64];
  if (acdbRToS(value, -1, -1, text) != RTNORM) return L"";
  return text;
}

// Sets the layer of one template entity and, for a text, its height and placeholder.
void fillEntity(const ads_name ent, const std::wstring& layer, int scale,
                const section::ScheduleValues& values) {
  resbuf* chain = acdbEntGet(ent);
  if (!chain) return;
  bool isText = false;
  for (resbuf* rb = chain; rb; rb = rb->rbnext)
    if (rb->restype == 0 && rb->resval.rstring && std::wstring_view(rb->resval.rstring) == L"TEXT")
      isText = true;
  for (resbuf* rb = chain; rb; rb = rb->rbnext) {
    if (rb->restype == 8) {
      std::free(rb->resval.rstring);
      rb->resval.rstring = wcsdup(layer.c_str());
    } else if (isText && rb->restype == 40) {
      rb->resval.rreal = section::scaledHeight(rb->resval.rreal, scale);
    } else if (isText && rb->restype == 1) {
      if (auto text = section::filledText(rb->resval.rstring, values, inDrawingUnits)) {
        std::free(rb->resval.rstring);
        rb->resval.rstring = wcsdup(text->c_str());
      }
    }
  }
  acdbEntMod(chain);
  acutRelRb(chain);
}

int st_modify(resbuf* args) {
  kc::Args in(args);
  ads_name start;
  if (!in.takeName(start)) return RTERROR;
  auto layer = in.takeString();
  auto title = in.takeString();
  auto thickness = in.takeShort();
  auto bar1 = in.takeShort();
  auto spacing1 = in.takeShort();
  auto bar2 = in.takeShort();
  auto spacing2 = in.takeShort();
  if (!layer || !title || !thickness || !bar1 || !spacing1 || !bar2 || !spacing2) return RTERROR;
  section::ScheduleValues values{*title, *thickness, *bar1, *spacing1, *bar2, *spacing2, {}, unitSwitch()};
  while (values.reals.size() < kMaxReals) {
    auto real = in.takeReal();
    if (!real) break;
    values.reals.push_back(*real);
  }
  int scale = drawingScale();
  ads_name ent{start[0], start[1]};
  ads_name next;
  while (acdbEntNext(ent, next) == RTNORM) {
    fillEntity(next, *layer, scale, values);
    ent[0] = next[0];
    ent[1] = next[1];
  }
  return RTNORM;
}

const kc::FunctionRow kFunctions[] = {
    {L"st_open", st_open},   {L"st_close", st_close},   {L"st_read", st_read},
    {L"st_write", st_write}, {L"st_modify", st_modify},
};

class SectionModule : public kc::Module {
 public:
  SectionModule()
      : Module({.name = L"kcSection",
                .functions = kFunctions,
                .checksInstallation = false,
                .versionThreshold = 0,
                .folders = {},
                .loadMessage = L"配筋模組載入.",
                .guardedDispatch = false}) {}
};

}  // namespace

KC_DEFINE_MODULE(SectionModule)
