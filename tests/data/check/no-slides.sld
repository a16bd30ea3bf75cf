<CurvanaSlides>
  <Slide/>
</CurvanaSlides>
