#include "richtext/EmbeddedObject.h"

TTextObject::~TTextObject() {
  if (Owned) delete Object;
}

void TTextObject::SetObject(std::unique_ptr<TEmbeddedObject> object) {
  if (Owned) delete Object;
  Object = object.release();
  Owned = true;
}

void TTextObject::SetObjectReference(TEmbeddedObject* object) {
  if (Owned) delete Object;
  Object = object;
  Owned = false;
}
