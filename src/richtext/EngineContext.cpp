#include "richtext/EngineContext.h"

TWPEngineContext& WPEngine() {
  static TWPEngineContext context;
  return context;
}
