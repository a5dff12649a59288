#include "effect/ColourWaveSources.h"

// Constant data: nothing to construct at load, nothing to free at unload.
const char colourWaveVertexSource[] = R"GLSL(
void main()
{
  gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
  gl_TexCoord[0] = gl_MultiTexCoord0;
  gl_FrontColor = gl_Color;
}
)GLSL";

const char colourWaveFragmentSource[] = R"GLSL(
uniform sampler2D inputTexture;
uniform vec2 paramV1;
uniform vec2 paramV2;
uniform vec2 paramV3;
uniform float param1;
uniform int mode;
uniform float time;
uniform vec2 resolution;

vec3 czm_saturation(vec3 rgb, float adjustment)
{
  const vec3 W = vec3(0.2125, 0.7154, 0.0721);
  vec3 intensity = vec3(dot(rgb, W));
  return mix(intensity, rgb, adjustment);
}

vec4 Saturation(vec4 color, float sat)
{
  return vec4(czm_saturation(color.rgb, sat * 2.0), color.a);
}

vec3 rgb2hsv(vec3 c)
{
  vec4 K = vec4(0.0, -1.0 / 3.0, 2.0 / 3.0, -1.0);
  vec4 p = mix(vec4(c.bg, K.wz), vec4(c.gb, K.xy), step(c.b, c.g));
  vec4 q = mix(vec4(p.xyw, c.r), vec4(c.r, p.yzx), step(p.x, c.r));
  float d = q.x - min(q.w, q.y);
  float e = 1.0e-10;
  return vec3(abs(q.z + (q.w - q.y) / (6.0 * d + e)), d / (q.x + e), q.x);
}

float SinCol(float x, float fq, float t, float ampli, float range)
{
  return sin(fq * x * 3.1415 + t + time) * ampli + range;
}

void main()
{
  float t = paramV1.x * 3.1415 * 2.0;
  float fq = paramV1.y * 10.0;
  float sat = paramV2.x;
  float d = paramV2.y;
  float ampli = paramV3.x * 2.0;
  float range = paramV3.y * 2.0 - 1.0;
  float thresh = param1;
  int button1 = mode;

  vec2 uv = gl_TexCoord[0].st;
  vec4 img = texture2D(inputTexture, uv);
  vec4 rawImg = img;
  img = Saturation(img, sat);

  float alpha = img.a;
  if (button1 == 1) {
    alpha = SinCol(img.a, fq, t, ampli, range);
  }
  vec4 c = vec4(SinCol(img.r - d, fq, t, ampli, range),
                SinCol(img.g, fq, t, ampli, range),
                SinCol(img.b + d, fq, t, ampli, range),
                alpha);

  float v = rgb2hsv(img.rgb).z;
  float threshval = mix(1.0, smoothstep(thresh - 0.25, thresh + 0.25, v), step(0.01, thresh));

  vec4 inner = mix(rawImg, c * threshval, threshval);
  gl_FragColor = mix(inner, c * threshval, float(button1));
}
)GLSL";
