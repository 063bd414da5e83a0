// A document: one drawing with its own database, LISP namespace and system variables.
#pragma once

#include <string>

#include "db/database.h"
#include "host/docman.h"
#include "lisp/interpreter.h"

namespace host {

class Document : public AcApDocument {
 public:
  explicit Document(std::wstring fileName);
  const ACHAR* fileName() const override { return fileName_.c_str(); }
  const ACHAR* docTitle() const override { return title_.c_str(); }

  lisp::Namespace& lispNamespace() { return namespace_; }
  Database& database() { return database_; }

 private:
  std::wstring fileName_;
  std::wstring title_;
  lisp::Namespace namespace_;
  Database database_;
};

}  // namespace host
